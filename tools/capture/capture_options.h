#pragma once
// The command line of drift-capture, parsed into one record. Scripts and people rely on
// its exact form; CaptureUsage() is what --help prints.
#include <string>
#include <vector>

#include "anim/show_times.h"

struct CaptureOptions {
  std::string data;        // the data archive; empty: "demodat" beside the program
  int width = 1280;
  int height = 720;
  int fps = 60;
  double from = 0.0;       // the section, in timeline seconds
  double to = show::kMusicEnd;
  std::string hashes;      // one line per frame: index, time, pixel hash
  std::string contactSheet;
  std::vector<double> at;  // the contact sheet's times; empty: evenly over the section
  int count = 24;          // frames on the contact sheet when `at` is empty
  bool resume = false;
  std::string out;         // a folder of PNG frames or a ".mp4" video; may be empty with a contact sheet
  bool help = false;
};

// What OUT names.
enum class OutputKind { kNone, kFrameFolder, kVideo };
OutputKind OutputKindOf(const CaptureOptions& options);

// Fills options from argv (argv[0] is the program). False with a one-line reason in
// error on anything malformed or inconsistent; --help sets help and returns true.
bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options, std::string& error);

// The usage text: the synopsis and one line per option.
const char* CaptureUsage();
