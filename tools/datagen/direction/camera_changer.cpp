#include "datagen/direction/camera_changer.h"

#include <cctype>
#include <charconv>
#include <cstddef>

#include "anim/properties.h"

namespace datagen {
namespace {

struct Token {
  std::size_t begin, end;
};

std::vector<Token> Tokens(const std::string& text) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i == text.size()) break;
    const std::size_t begin = i;
    while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    tokens.push_back({begin, i});
  }
  return tokens;
}

bool Is(const std::string& text, const Token& token, const char* word) {
  return text.compare(token.begin, token.end - token.begin, word) == 0;
}

}  // namespace

std::string KeyTimeText(float seconds) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

bool WithCameraChangerKeys(const std::string& script, const std::vector<CameraShot>& shots, std::string& out,
                           std::string& error) {
  // An entry is: kind, type code, id, ignored integer, name; the track's name is the
  // fifth token of its AnimProperty entry.
  const std::vector<Token> tokens = Tokens(script);
  std::size_t name = tokens.size();
  for (std::size_t i = 4; i < tokens.size(); ++i) {
    if (!Is(script, tokens[i], kCameraChangerName) || !Is(script, tokens[i - 4], "AnimProperty")) continue;
    if (name != tokens.size()) {
      error = std::string("the property script declares \"") + kCameraChangerName + "\" twice";
      return false;
    }
    name = i;
  }
  if (name == tokens.size()) {
    error = std::string("the property script declares no \"") + kCameraChangerName + "\" track";
    return false;
  }
  if (name + 1 == tokens.size() || !Is(script, tokens[name + 1], "endkeys")) {
    error = std::string("the property script gives \"") + kCameraChangerName +
            "\" keys of its own; they are written from the cut list";
    return false;
  }

  std::string keys;
  for (std::size_t i = 0; i < shots.size(); ++i) {
    keys += "  k " + KeyTimeText(shots[i].start) + " 0 " + std::to_string(i) + "\n";
  }
  // The keys go on the lines after the one that names the track.
  const std::size_t lineEnd = script.find('\n', tokens[name].end);
  if (lineEnd == std::string::npos || lineEnd > tokens[name + 1].begin) {
    out = script.substr(0, tokens[name].end) + "\n" + keys + script.substr(tokens[name + 1].begin);
  } else {
    out = script.substr(0, lineEnd + 1) + keys + script.substr(lineEnd + 1);
  }
  return true;
}

}  // namespace datagen
