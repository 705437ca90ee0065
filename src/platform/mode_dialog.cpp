#include "platform/mode_dialog.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace platform {

const char kModeDialogTitle[] = "Drift";

namespace {

namespace layout = mode_dialog_layout;

// GTK is set up once per process; a display that cannot be opened stays unavailable.
enum class ToolkitState { kUntried, kReady, kUnavailable };
ToolkitState g_toolkit = ToolkitState::kUntried;

bool StartToolkit() {
  if (g_toolkit == ToolkitState::kUntried) {
    // GTK would switch the process locale; numbers are parsed and printed in "C".
    gtk_disable_setlocale();
    g_toolkit = gtk_init_check(nullptr, nullptr) ? ToolkitState::kReady : ToolkitState::kUnavailable;
  }
  return g_toolkit == ToolkitState::kReady;
}

struct DialogState {
  GtkWidget* window = nullptr;
  GtkWidget* list = nullptr;
  GMainLoop* loop = nullptr;
  ModeDialogResult result;
  cairo_surface_t* picture = nullptr;  // null when there is no picture
};

void Finish(DialogState* state, DialogOutcome outcome) {
  state->result.outcome = outcome;
  if (outcome == DialogOutcome::kStart) {
    state->result.selected = gtk_combo_box_get_active(GTK_COMBO_BOX(state->list));
    gchar* text = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(state->list));
    state->result.selectedText = text != nullptr ? text : "";
    g_free(text);
  }
  g_main_loop_quit(state->loop);
}

void OnStart(GtkButton*, gpointer data) { Finish(static_cast<DialogState*>(data), DialogOutcome::kStart); }

void OnQuit(GtkButton*, gpointer data) { Finish(static_cast<DialogState*>(data), DialogOutcome::kQuit); }

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  Finish(static_cast<DialogState*>(data), DialogOutcome::kQuit);
  return TRUE;  // the window is destroyed once the loop has ended
}

// Escape and Enter neither close the dialog nor press a button nor open the list.
gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer) {
  switch (event->keyval) {
    case GDK_KEY_Escape:
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      return TRUE;
    default:
      return FALSE;
  }
}

// Paints under the controls: the picture at the origin, then the white band.
gboolean OnDrawBackground(GtkWidget* widget, cairo_t* cr, gpointer data) {
  const DialogState* state = static_cast<const DialogState*>(data);
  if (state->picture != nullptr) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, layout::kWidth, layout::kPictureHeight);
    cairo_clip(cr);
    cairo_set_source_surface(cr, state->picture, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  const int height = std::max(gtk_widget_get_allocated_height(widget), layout::kHeight);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_rectangle(cr, 0, layout::kPictureHeight, layout::kWidth, height - layout::kPictureHeight);
  cairo_fill(cr);
  return FALSE;  // the controls are drawn on top
}

cairo_surface_t* CreatePictureSurface(const DialogPicture& picture) {
  int width = 0;
  int height = 0;
  const std::vector<std::uint32_t> pixels = PicturePixelsTopDown(picture, width, height);
  if (pixels.empty()) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    std::copy(pixels.begin() + static_cast<std::ptrdiff_t>(y) * width,
              pixels.begin() + static_cast<std::ptrdiff_t>(y + 1) * width,
              reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride));
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

GtkWidget* Place(GtkWidget* fixed, GtkWidget* child, int x, int width) {
  gtk_widget_set_size_request(child, width, layout::kControlHeight);
  gtk_fixed_put(GTK_FIXED(fixed), child, x, layout::kControlsTop);
  return child;
}

void BuildWindow(DialogState& state, const std::vector<std::string>& items, int preselected) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  state.window = window;
  gtk_window_set_title(GTK_WINDOW(window), kModeDialogTitle);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);

  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, layout::kWidth, layout::kHeight);
  gtk_container_add(GTK_CONTAINER(window), fixed);
  g_signal_connect(fixed, "draw", G_CALLBACK(OnDrawBackground), &state);

  state.list = Place(fixed, gtk_combo_box_text_new(), layout::kListLeft, layout::kListWidth);
  for (const std::string& item : items) {
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(state.list), item.c_str());
  }
  const int count = static_cast<int>(items.size());
  gtk_combo_box_set_active(GTK_COMBO_BOX(state.list), preselected >= 0 && preselected < count ? preselected : -1);

  GtkWidget* start = Place(fixed, gtk_button_new_with_label("Start"), layout::kStartLeft, layout::kButtonWidth);
  GtkWidget* quit = Place(fixed, gtk_button_new_with_label("Quit"), layout::kQuitLeft, layout::kButtonWidth);
  g_signal_connect(start, "clicked", G_CALLBACK(OnStart), &state);
  g_signal_connect(quit, "clicked", G_CALLBACK(OnQuit), &state);
  g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), &state);
  g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), &state);

  gtk_widget_show_all(window);
  gtk_widget_grab_focus(state.list);
  gtk_window_present(GTK_WINDOW(window));
}

}  // namespace

std::vector<std::uint32_t> PicturePixelsTopDown(const DialogPicture& picture, int& outWidth, int& outHeight) {
  outWidth = 0;
  outHeight = 0;
  if (picture.width <= 0 || picture.height <= 0) return {};
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
  if (picture.rgbBottomUp.size() / rowBytes < static_cast<std::size_t>(picture.height)) return {};
  const int width = std::min(picture.width, layout::kWidth);
  const int height = std::min(picture.height, layout::kPictureHeight);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    // Top-down row y is bottom-up row height-1-y of the whole picture.
    const unsigned char* row = picture.rgbBottomUp.data() + (picture.height - 1 - y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = row + 3 * x;
      pixels[static_cast<std::size_t>(y) * width + x] =
          (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | std::uint32_t{p[2]};
    }
  }
  outWidth = width;
  outHeight = height;
  return pixels;
}

ModeDialogResult RunModeDialog(const std::vector<std::string>& items, int preselected,
                               const DialogPicture& picture) {
  if (!StartToolkit()) {
    ModeDialogResult result;
    result.outcome = DialogOutcome::kNoDisplay;
    return result;
  }
  DialogState state;
  state.picture = CreatePictureSurface(picture);
  state.loop = g_main_loop_new(nullptr, FALSE);
  BuildWindow(state, items, preselected);
  g_main_loop_run(state.loop);

  // Hand the display back: the window is unmapped and gone on the server before the
  // caller opens its own window.
  gtk_widget_destroy(state.window);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  gdk_display_sync(gdk_display_get_default());

  g_main_loop_unref(state.loop);
  if (state.picture != nullptr) cairo_surface_destroy(state.picture);
  return state.result;
}

}  // namespace platform
