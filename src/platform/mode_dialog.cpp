#include "platform/mode_dialog.h"

#include <dlfcn.h>
// Only for the types, constants and signatures: every function is fetched from the
// library at run time, so the program does not need the toolkit to start.
#include <gtk/gtk.h>

#include <algorithm>
#include <utility>

namespace platform {

const char kModeDialogTitle[] = "Drift";
const char kModeDialogToolkit[] = "libgtk-3.so.0";

namespace {

namespace layout = mode_dialog_layout;

// Every toolkit function the dialog calls (GTK, GDK, GLib, GObject and cairo; the GTK
// library brings the others with it). A name missing from this list does not link.
#define DRIFT_DIALOG_TOOLKIT_FUNCTIONS(X)                                                    \
  X(gtk_disable_setlocale) X(gtk_init_check) X(gtk_events_pending) X(gtk_main_iteration_do)  \
  X(gtk_window_new) X(gtk_window_set_title) X(gtk_window_set_position)                       \
  X(gtk_window_set_resizable) X(gtk_window_set_type_hint) X(gtk_window_present)              \
  X(gtk_fixed_new) X(gtk_fixed_put) X(gtk_container_add) X(gtk_button_new_with_label)        \
  X(gtk_combo_box_text_new) X(gtk_combo_box_text_append_text)                                \
  X(gtk_combo_box_text_get_active_text) X(gtk_combo_box_get_active) X(gtk_combo_box_set_active) \
  X(gtk_widget_set_size_request) X(gtk_widget_show_all) X(gtk_widget_grab_focus)             \
  X(gtk_widget_get_allocated_height) X(gtk_widget_destroy)                                   \
  X(gdk_display_get_default) X(gdk_display_sync)                                             \
  X(g_main_loop_new) X(g_main_loop_run) X(g_main_loop_quit) X(g_main_loop_unref) X(g_free)   \
  X(g_signal_connect_data)                                                                   \
  X(cairo_save) X(cairo_restore) X(cairo_rectangle) X(cairo_clip) X(cairo_paint) X(cairo_fill) \
  X(cairo_set_source_surface) X(cairo_set_source_rgb) X(cairo_image_surface_create)          \
  X(cairo_image_surface_get_data) X(cairo_image_surface_get_stride) X(cairo_surface_status)  \
  X(cairo_surface_flush) X(cairo_surface_mark_dirty) X(cairo_surface_destroy)

// The fetched functions, each with the type the toolkit's header declares.
struct Toolkit {
#define DRIFT_DIALOG_TOOLKIT_MEMBER(name) decltype(&::name) name = nullptr;
  DRIFT_DIALOG_TOOLKIT_FUNCTIONS(DRIFT_DIALOG_TOOLKIT_MEMBER)
#undef DRIFT_DIALOG_TOOLKIT_MEMBER
};

Toolkit tk;                  // filled by LoadModeDialogToolkit
std::string g_toolkitName;   // the library tk came from; empty before one was loaded

template <typename Function>
bool Fetch(void* library, const char* name, Function& slot) {
  void* symbol = dlsym(library, name);
  if (symbol == nullptr) return false;
  slot = reinterpret_cast<Function>(symbol);
  return true;
}

// GTK is set up once per process; a display that cannot be opened stays unavailable.
enum class ToolkitState { kUntried, kReady, kUnavailable };
ToolkitState g_toolkit = ToolkitState::kUntried;

bool StartToolkit() {
  if (g_toolkit == ToolkitState::kUntried) {
    // GTK would switch the process locale; numbers are parsed and printed in "C".
    tk.gtk_disable_setlocale();
    g_toolkit = tk.gtk_init_check(nullptr, nullptr) ? ToolkitState::kReady : ToolkitState::kUnavailable;
  }
  return g_toolkit == ToolkitState::kReady;
}

void Connect(gpointer instance, const char* signal, GCallback handler, gpointer data) {
  tk.g_signal_connect_data(instance, signal, handler, data, nullptr, GConnectFlags{});
}

// The toolkit's type-checking casts call into the library; these plain casts do not.
template <typename To>
To* As(GtkWidget* widget) {
  return reinterpret_cast<To*>(widget);
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
    state->result.selected = tk.gtk_combo_box_get_active(As<GtkComboBox>(state->list));
    gchar* text = tk.gtk_combo_box_text_get_active_text(As<GtkComboBoxText>(state->list));
    state->result.selectedText = text != nullptr ? text : "";
    tk.g_free(text);
  }
  tk.g_main_loop_quit(state->loop);
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
    tk.cairo_save(cr);
    tk.cairo_rectangle(cr, 0, 0, layout::kWidth, layout::kPictureHeight);
    tk.cairo_clip(cr);
    tk.cairo_set_source_surface(cr, state->picture, 0, 0);
    tk.cairo_paint(cr);
    tk.cairo_restore(cr);
  }
  const int height = std::max(tk.gtk_widget_get_allocated_height(widget), layout::kHeight);
  tk.cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  tk.cairo_rectangle(cr, 0, layout::kPictureHeight, layout::kWidth, height - layout::kPictureHeight);
  tk.cairo_fill(cr);
  return FALSE;  // the controls are drawn on top
}

cairo_surface_t* CreatePictureSurface(const DialogPicture& picture) {
  int width = 0;
  int height = 0;
  const std::vector<std::uint32_t> pixels = PicturePixelsTopDown(picture, width, height);
  if (pixels.empty()) return nullptr;
  cairo_surface_t* surface = tk.cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  if (tk.cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    tk.cairo_surface_destroy(surface);
    return nullptr;
  }
  tk.cairo_surface_flush(surface);
  unsigned char* data = tk.cairo_image_surface_get_data(surface);
  const int stride = tk.cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    std::copy(pixels.begin() + static_cast<std::ptrdiff_t>(y) * width,
              pixels.begin() + static_cast<std::ptrdiff_t>(y + 1) * width,
              reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride));
  }
  tk.cairo_surface_mark_dirty(surface);
  return surface;
}

GtkWidget* Place(GtkWidget* fixed, GtkWidget* child, int x, int width) {
  tk.gtk_widget_set_size_request(child, width, layout::kControlHeight);
  tk.gtk_fixed_put(As<GtkFixed>(fixed), child, x, layout::kControlsTop);
  return child;
}

void BuildWindow(DialogState& state, const std::vector<std::string>& items, int preselected) {
  GtkWidget* window = tk.gtk_window_new(GTK_WINDOW_TOPLEVEL);
  state.window = window;
  tk.gtk_window_set_title(As<GtkWindow>(window), kModeDialogTitle);
  tk.gtk_window_set_position(As<GtkWindow>(window), GTK_WIN_POS_CENTER);
  tk.gtk_window_set_resizable(As<GtkWindow>(window), FALSE);
  tk.gtk_window_set_type_hint(As<GtkWindow>(window), GDK_WINDOW_TYPE_HINT_DIALOG);

  GtkWidget* fixed = tk.gtk_fixed_new();
  tk.gtk_widget_set_size_request(fixed, layout::kWidth, layout::kHeight);
  tk.gtk_container_add(As<GtkContainer>(window), fixed);
  Connect(fixed, "draw", G_CALLBACK(OnDrawBackground), &state);

  state.list = Place(fixed, tk.gtk_combo_box_text_new(), layout::kListLeft, layout::kListWidth);
  for (const std::string& item : items) {
    tk.gtk_combo_box_text_append_text(As<GtkComboBoxText>(state.list), item.c_str());
  }
  const int count = static_cast<int>(items.size());
  tk.gtk_combo_box_set_active(As<GtkComboBox>(state.list), preselected >= 0 && preselected < count ? preselected : -1);

  GtkWidget* start = Place(fixed, tk.gtk_button_new_with_label("Start"), layout::kStartLeft, layout::kButtonWidth);
  GtkWidget* quit = Place(fixed, tk.gtk_button_new_with_label("Quit"), layout::kQuitLeft, layout::kButtonWidth);
  Connect(start, "clicked", G_CALLBACK(OnStart), &state);
  Connect(quit, "clicked", G_CALLBACK(OnQuit), &state);
  Connect(window, "delete-event", G_CALLBACK(OnDelete), &state);
  Connect(window, "key-press-event", G_CALLBACK(OnKeyPress), &state);

  tk.gtk_widget_show_all(window);
  tk.gtk_widget_grab_focus(state.list);
  tk.gtk_window_present(As<GtkWindow>(window));
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

std::string LoadModeDialogToolkit(const char* library) {
  if (!g_toolkitName.empty() && g_toolkitName == library) return {};
  void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* error = dlerror();
    return error != nullptr ? error : std::string(library) + ": cannot be loaded";
  }
  Toolkit fetched;
  const char* missing = nullptr;
#define DRIFT_DIALOG_TOOLKIT_FETCH(name) \
  if (missing == nullptr && !Fetch(handle, #name, fetched.name)) missing = #name;
  DRIFT_DIALOG_TOOLKIT_FUNCTIONS(DRIFT_DIALOG_TOOLKIT_FETCH)
#undef DRIFT_DIALOG_TOOLKIT_FETCH
  if (missing != nullptr) {
    dlclose(handle);
    return std::string(library) + " has no " + missing;
  }
  // The library stays loaded for the rest of the process: GTK cannot be unloaded.
  tk = fetched;
  g_toolkitName = library;
  return {};
}

ModeDialogResult RunModeDialog(const std::vector<std::string>& items, int preselected,
                               const DialogPicture& picture, const char* toolkitLibrary) {
  std::string problem = LoadModeDialogToolkit(toolkitLibrary);
  if (!problem.empty()) {
    ModeDialogResult result;
    result.outcome = DialogOutcome::kNoToolkit;
    result.problem = std::move(problem);
    return result;
  }
  if (!StartToolkit()) {
    ModeDialogResult result;
    result.outcome = DialogOutcome::kNoDisplay;
    return result;
  }
  DialogState state;
  state.picture = CreatePictureSurface(picture);
  state.loop = tk.g_main_loop_new(nullptr, FALSE);
  BuildWindow(state, items, preselected);
  tk.g_main_loop_run(state.loop);

  // Hand the display back: the window is unmapped and gone on the server before the
  // caller opens its own window.
  tk.gtk_widget_destroy(state.window);
  while (tk.gtk_events_pending()) tk.gtk_main_iteration_do(FALSE);
  tk.gdk_display_sync(tk.gdk_display_get_default());

  tk.g_main_loop_unref(state.loop);
  if (state.picture != nullptr) tk.cairo_surface_destroy(state.picture);
  return state.result;
}

}  // namespace platform
