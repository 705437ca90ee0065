#include "live/live_overlay.h"

#include <algorithm>
#include <cstdint>

#include "platform/gl.h"
#include "render/screen_picture.h"

namespace {

void FilledRect(float x, float y, float w, float h) {
  glBegin(GL_QUADS);
  glVertex2f(x, y);
  glVertex2f(x + w, y);
  glVertex2f(x + w, y + h);
  glVertex2f(x, y + h);
  glEnd();
}

void SetEventColour(TimelineEvent::Kind kind) {
  switch (kind) {
    case TimelineEvent::kCut: glColor4f(1.0f, 1.0f, 1.0f, 0.9f); break;
    case TimelineEvent::kSignal: glColor4f(1.0f, 0.85f, 0.2f, 0.6f); break;
    case TimelineEvent::kGreeting: glColor4f(0.3f, 0.9f, 1.0f, 0.7f); break;
    case TimelineEvent::kScene: glColor4f(1.0f, 0.25f, 0.25f, 1.0f); break;
    case TimelineEvent::kBoard: glColor4f(0.4f, 1.0f, 0.4f, 0.9f); break;
  }
}

// The share of the strip's height a mark of each kind takes, from the bottom.
float EventHeight(TimelineEvent::Kind kind) {
  switch (kind) {
    case TimelineEvent::kScene: return 1.0f;
    case TimelineEvent::kCut: return 0.8f;
    case TimelineEvent::kBoard: return 0.6f;
    case TimelineEvent::kGreeting: return 0.45f;
    case TimelineEvent::kSignal: return 0.3f;
  }
  return 0.5f;
}

}  // namespace

LiveOverlay::~LiveOverlay() = default;

bool LiveOverlay::Open(const std::string& fontPath, std::string& error) {
  haveFace_ = face_.Open(fontPath, error) && face_.SetPixelSize(kTextPixels);
  return haveFace_;
}

void LiveOverlay::Release() {
  if (texture_ != 0) glDeleteTextures(1, &texture_);
  texture_ = 0;
  drawnText_.clear();
}

void LiveOverlay::UpdateText(const OverlayView& view) {
  std::string text;
  for (const std::string& line : view.lines) text += line + '\n';
  text += view.error;
  if (text == drawnText_ && texture_ != 0) return;
  drawnText_ = text;
  if (!haveFace_) return;

  std::vector<std::string> lines = view.lines;
  if (!view.error.empty()) lines.push_back(view.error);
  const int padding = 6;
  const int lineHeight = face_.LineHeight();
  int width = 1;
  for (const std::string& line : lines) width = std::max(width, face_.MeasureLine(line));
  textWidth_ = width + 2 * padding;
  textHeight_ = static_cast<int>(lines.size()) * lineHeight + 2 * padding;
  // Rows top-down here; the quad maps the texture's first row to its top.
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(textWidth_) * textHeight_ * 4);
  for (std::size_t i = 0; i < rgba.size(); i += 4) rgba[i + 3] = 150;  // the dark backing
  platform::TextBitmap bitmap;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    if (!face_.RenderLine(lines[n], bitmap)) continue;
    const bool isError = !view.error.empty() && n + 1 == lines.size();
    const int top = padding + static_cast<int>(n) * lineHeight;
    for (int y = 0; y < bitmap.height && top + y < textHeight_; ++y) {
      for (int x = 0; x < bitmap.width && padding + x < textWidth_; ++x) {
        const int c = bitmap.At(x, y);
        std::uint8_t* p =
            &rgba[(static_cast<std::size_t>(top + y) * textWidth_ + static_cast<std::size_t>(padding + x)) * 4];
        // Premultiplied: white text, errors in red.
        p[0] = static_cast<std::uint8_t>(c);
        p[1] = static_cast<std::uint8_t>(isError ? c * 90 / 255 : c);
        p[2] = static_cast<std::uint8_t>(isError ? c * 80 / 255 : c);
        p[3] = static_cast<std::uint8_t>(std::max<int>(p[3], c));
      }
    }
  }
  if (texture_ == 0) glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textWidth_, textHeight_, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

void LiveOverlay::DrawText(int x, int y) {
  if (texture_ == 0 || textWidth_ == 0) return;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  // The text is premultiplied: its backing darkens, its glyphs add their colour.
  glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  const float w = static_cast<float>(textWidth_);
  const float h = static_cast<float>(textHeight_);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(static_cast<float>(x), static_cast<float>(y));
  glTexCoord2f(1, 0);
  glVertex2f(x + w, static_cast<float>(y));
  glTexCoord2f(1, 1);
  glVertex2f(x + w, y + h);
  glTexCoord2f(0, 1);
  glVertex2f(static_cast<float>(x), y + h);
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void LiveOverlay::DrawStrip(const OverlayView& view, const LiveRect& strip) {
  const float x = static_cast<float>(strip.x);
  const float y = static_cast<float>(strip.y);
  const float h = static_cast<float>(strip.height);
  glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
  FilledRect(x, y, static_cast<float>(strip.width), h);
  if (view.looping) {
    const int from = StripColumnOf(strip, view.loopFrom, view.end);
    const int to = StripColumnOf(strip, view.loopTo, view.end);
    glColor4f(0.2f, 0.45f, 1.0f, 0.35f);
    FilledRect(static_cast<float>(from), y, static_cast<float>(std::max(1, to - from)), h);
  }
  if (view.events != nullptr) {
    glBegin(GL_LINES);
    for (const TimelineEvent& event : *view.events) {
      const float column = static_cast<float>(StripColumnOf(strip, event.seconds, view.end)) + 0.5f;
      SetEventColour(event.kind);
      glVertex2f(column, y + h);
      glVertex2f(column, y + h * (1.0f - EventHeight(event.kind)));
    }
    glEnd();
  }
  const float head = static_cast<float>(StripColumnOf(strip, view.seconds, view.end));
  glColor4f(1.0f, 0.55f, 0.1f, 1.0f);
  FilledRect(head - 1.0f, y - 3.0f, 3.0f, h + 6.0f);
}

void LiveOverlay::Draw(const OverlayView& view, int windowWidth, int windowHeight) {
  SavedGlState saved;
  ScreenCoordinates(windowWidth, windowHeight);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_TEXTURE_2D);
  UpdateText(view);
  DrawText(10, 10);
  DrawStrip(view, StripRect(windowWidth, windowHeight));
}

