// drift-fault-injection: for every file of a data archive, plays the demo with that file
// removed, and again with it cut to half its length, and checks what a user and a
// maintainer are owed: the run ends with exit status 0 through the teardown, the data
// folder is removed, no crash and no sanitizer report, and a line in the log (or on
// standard error) names the file or the asset made from it.
//
// Each fault is played twice: by `drift` itself (no display: SDL's offscreen driver,
// the dummy audio driver), ended with SIGTERM a moment after its loading is done (it has
// opened the last file loading reads); and
// by `drift-capture`, which runs the controller's update for every frame of the whole
// timeline and draws a few of them (it ends with status 1 when loading fails, which
// is its documented answer to missing content). A run that plays on without naming the
// file did not read it (each run uses one of the two masks); the other run must name it.
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/zip_archive.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ChildProcess;
using testing_support::ProcessOptions;
using testing_support::SleepSeconds;

struct Entry {
  std::string name;
  bool folder = false;
  std::string bytes;
};

enum class Fault { kRemoved, kTruncated };
const char* FaultName(Fault fault) { return fault == Fault::kRemoved ? "removed" : "truncated"; }

struct Settings {
  std::string archive;
  std::string drift;    // empty: not played by drift
  std::string capture;  // empty: not played by drift-capture
  std::string work = "fault-injection";
  std::string only;     // play only the files whose names contain this
  std::size_t sample = 0;  // 0: every fault
  std::size_t shard = 0;   // play only the faults whose index modulo shards is shard,
  std::size_t shards = 1;  // so several runners can share the work
  std::size_t fromFile = 0;  // skip the files before this one (archive order, from 0)
  double playSeconds = 1.5;
  double timeoutSeconds = 300;
};

// The outcome of one program on one fault.
struct Outcome {
  bool ran = false;
  bool passed = true;
  bool named = false;  // a line names the file
  bool drew = false;   // the demo played on (drift: until SIGTERM; capture: drew its frames)
  std::string summary;
};

bool ReadArchive(const std::string& path, std::vector<Entry>& entries, std::string& error) {
  platform::ZipReader reader;
  if (!reader.Open(path)) {
    error = path + ": " + reader.Error();
    return false;
  }
  for (bool more = reader.First(); more; more = reader.Next()) {
    platform::ZipEntryInfo info;
    Entry entry;
    std::vector<unsigned char> bytes;
    if (!reader.CurrentInfo(info) || !reader.ReadCurrent(bytes)) {
      error = path + ": " + reader.Error();
      return false;
    }
    entry.name = info.name;
    entry.folder = !info.name.empty() && info.name.back() == '/';
    entry.bytes.assign(bytes.begin(), bytes.end());
    entries.push_back(std::move(entry));
  }
  return true;
}

// The archive with one file removed or cut in half; entries stored, so it is quick.
bool WriteVariant(const std::vector<Entry>& entries, const std::string& victim, Fault fault, const std::string& path) {
  platform::ZipWriter zip;
  if (!zip.Open(path)) return false;
  for (const Entry& entry : entries) {
    if (entry.folder) {
      zip.AddFolder(entry.name);
    } else if (entry.name != victim) {
      zip.AddFile(entry.name, entry.bytes, 0);
    } else if (fault == Fault::kTruncated) {
      zip.AddFile(entry.name, entry.bytes.substr(0, entry.bytes.size() / 2), 0);
    }
  }
  return zip.Close();
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Whether text names the file: its path in the data folder, or the asset's name (the
// file name without folder and extension) standing as a word.
bool Names(const std::string& text, const std::string& file) {
  if (text.find(file) != std::string::npos) return true;
  std::string stem = fs::path(file).stem().string();
  for (std::size_t at = text.find(stem); !stem.empty() && at != std::string::npos; at = text.find(stem, at + 1)) {
    const bool before = at == 0 || !IsNameChar(text[at - 1]);
    const bool after = at + stem.size() >= text.size() || !IsNameChar(text[at + stem.size()]);
    if (before && after) return true;
  }
  return false;
}

// A sanitizer's report, if the text holds one.
std::string SanitizerReport(const std::string& text) {
  for (const char* marker : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"}) {
    const std::size_t at = text.find(marker);
    if (at != std::string::npos) return text.substr(at, text.find('\n', at) - at);
  }
  return "";
}

// The text without the loader's "loading <path>" announcements, which name every file
// whether anything is wrong with it or not.
std::string WithoutAnnouncements(const std::string& text) {
  std::istringstream lines(text);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("loading ", 0) != 0) kept += line + "\n";
  }
  return kept;
}

// Marks the outcome failed, with the reason in its summary, unless condition holds.
bool Check(Outcome& outcome, bool condition, const std::string& failure) {
  if (!condition) {
    outcome.passed = false;
    outcome.summary += " FAIL(" + failure + ")";
  }
  return condition;
}

class Runner {
 public:
  explicit Runner(const Settings& settings) : settings_(settings) {}
  int Run();

 private:
  ProcessOptions Environment(const std::string& folder) const;
  Outcome PlayDrift(const std::string& folder, const std::string& file);
  Outcome PlayCapture(const std::string& folder, const std::string& file);
  Outcome Judge(const std::string& what, const ChildProcess& child, const std::vector<int>& accepted, double seconds,
                const std::string& folder, const std::string& file, std::string& errors);

  Settings settings_;
  std::vector<Entry> entries_;
};

ProcessOptions Runner::Environment(const std::string& folder) const {
  ProcessOptions options;
  options.workingDirectory = folder;
  options.setEnv["TMPDIR"] = folder + "/tmp";
  options.setEnv["SDL_AUDIODRIVER"] = "dummy";
  options.setEnv["SDL_VIDEODRIVER"] = "offscreen";
  options.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY"};
  options.stderrPath = folder + "/stderr.txt";
  options.stdoutPath = folder + "/stdout.txt";
  return options;
}

// Waits until drift opens cameras/cameras.cam, the last file its loading reads (or
// until it ends, or the time is up). The data folder is drift's own, made under TMPDIR
// while it starts; the watch goes on its "cameras" folder as soon as unpacking made it.
// Returns whether drift is still running.
bool WaitForLoading(ChildProcess& drift, const std::string& tmp, double timeoutSeconds) {
  const int watcher = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  int watch = -1;
  const auto start = std::chrono::steady_clock::now();
  bool opened = false;
  while (!opened && drift.Running() &&
         std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < timeoutSeconds) {
    if (watch < 0 && watcher >= 0) {
      std::error_code code;
      for (const auto& entry : fs::directory_iterator(tmp, code)) {
        if (fs::is_directory(entry.path() / "cameras", code)) {
          watch = inotify_add_watch(watcher, (entry.path() / "cameras").c_str(), IN_OPEN);
        }
      }
    }
    alignas(inotify_event) char events[4096];
    const ssize_t got = watcher >= 0 ? read(watcher, events, sizeof events) : -1;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(events + at);
      if (event->len > 0 && std::string(event->name) == "cameras.cam") opened = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    if (!opened) SleepSeconds(0.01);
  }
  if (watcher >= 0) close(watcher);
  return drift.Running();
}

// What every run is checked for once it has ended: no signal, an accepted exit status,
// no data folder left behind, no sanitizer report; and whether a line names the file
// (judged over all the runs of a fault, see Run). `what` starts
// the summary ("drift ended by itself"); errors receives standard error without the
// loader's announcements. An empty file: the unchanged data set, nothing to name.
Outcome Runner::Judge(const std::string& what, const ChildProcess& child, const std::vector<int>& accepted,
                      double seconds, const std::string& folder, const std::string& file, std::string& errors) {
  Outcome outcome;
  outcome.ran = true;
  const std::string log = Read(folder + "/log.txt");
  errors = WithoutAnnouncements(Read(folder + "/stderr.txt"));
  char timing[32];
  std::snprintf(timing, sizeof timing, ", %.1f s", seconds);
  outcome.summary = what + timing;
  if (Check(outcome, child.TermSignal() == 0, "ended by signal " + std::to_string(child.TermSignal()))) {
    Check(outcome, std::count(accepted.begin(), accepted.end(), child.ExitCode()) > 0,
          "exit status " + std::to_string(child.ExitCode()));
  }
  Check(outcome, fs::is_empty(folder + "/tmp"), "data folder left behind");
  const std::string report = SanitizerReport(errors);
  Check(outcome, report.empty(), report);
  if (file.empty()) {
    outcome.summary += ", log.txt: " + log.substr(0, log.find('\n'));
  } else if (Names(log, file)) {
    outcome.named = true;
    outcome.summary += ", named in log.txt";
  } else if (Names(errors, file)) {
    outcome.named = true;
    outcome.summary += ", named on stderr";
  }
  return outcome;
}

std::size_t DistinctFiles(const std::vector<std::pair<std::string, Fault>>& faults) {
  std::vector<std::string> files;
  for (const auto& fault : faults) files.push_back(fault.first);
  std::sort(files.begin(), files.end());
  return static_cast<std::size_t>(std::unique(files.begin(), files.end()) - files.begin());
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Ends a child that outlived its time.
void EndIfStuck(ChildProcess& child, double timeoutSeconds) {
  if (!child.Wait(timeoutSeconds)) {
    child.Kill(SIGKILL);
    child.Wait(10);
  }
}

// Plays drift until its loading is done, lets it play a moment, and ends it the way a
// session manager would.
Outcome Runner::PlayDrift(const std::string& folder, const std::string& file) {
  fs::create_directories(folder + "/tmp");
  const auto start = std::chrono::steady_clock::now();
  ChildProcess drift({folder + "/bin/drift"}, Environment(folder));
  bool running = WaitForLoading(drift, folder + "/tmp", settings_.timeoutSeconds);
  if (running) {
    SleepSeconds(settings_.playSeconds);
    running = drift.Running();
  }
  if (running) drift.Kill(SIGTERM);
  EndIfStuck(drift, settings_.timeoutSeconds);
  std::string errors;
  Outcome outcome = Judge(running ? "drift ended by SIGTERM" : "drift ended by itself", drift, {0},
                          SecondsSince(start), folder, file, errors);
  outcome.drew = running;
  return outcome;
}

// drift-capture over the whole timeline: every frame's update, a few drawn. Wider than
// 1024 pixels, where the demo takes "mask_big" (drift plays at the offscreen driver's
// 1024x768, with "mask"). Status 1 is its answer to data that does not load.
constexpr char kCaptureSize[] = "1152x648";

Outcome Runner::PlayCapture(const std::string& folder, const std::string& file) {
  fs::create_directories(folder + "/tmp");
  const auto start = std::chrono::steady_clock::now();
  ChildProcess capture({settings_.capture, "--data", folder + "/bin/demodat", "--size", kCaptureSize,
                        "--contact-sheet", folder + "/sheet.png", "--count", "4"},
                       Environment(folder));
  EndIfStuck(capture, settings_.timeoutSeconds);
  const int status = capture.ExitCode();
  std::string errors;
  Outcome outcome = Judge(status == 0 ? "capture drew" : "capture refused", capture, {0, 1}, SecondsSince(start),
                          folder, file, errors);
  Check(outcome, status != 0 || errors.find("GL errors: 0 in") != std::string::npos, "GL errors");
  outcome.drew = status == 0;
  return outcome;
}

int Runner::Run() {
  std::string error;
  if (!ReadArchive(settings_.archive, entries_, error)) {
    std::fprintf(stderr, "drift-fault-injection: %s\n", error.c_str());
    return 2;
  }
  std::vector<std::pair<std::string, Fault>> faults;
  std::size_t fileIndex = 0;
  for (const Entry& entry : entries_) {
    if (entry.folder || entry.name.find(settings_.only) == std::string::npos) continue;
    if (fileIndex++ < settings_.fromFile) continue;
    faults.emplace_back(entry.name, Fault::kRemoved);
    faults.emplace_back(entry.name, Fault::kTruncated);
  }
  if (settings_.sample > 0 && settings_.sample < faults.size()) {
    // Spread evenly over the archive, alternating the two kinds of fault.
    std::vector<std::pair<std::string, Fault>> sample;
    for (std::size_t i = 0; i < settings_.sample; ++i) {
      const std::size_t file = (i * (faults.size() / 2)) / settings_.sample;
      sample.push_back(faults[2 * file + i % 2]);
    }
    faults = sample;
  }
  if (settings_.shards > 1) {
    std::vector<std::pair<std::string, Fault>> mine;
    for (std::size_t i = settings_.shard; i < faults.size(); i += settings_.shards) mine.push_back(faults[i]);
    faults = mine;
  }
  if (!settings_.drift.empty() && settings_.shard == 0) {
    // The unchanged data set first: it must play and end cleanly.
    const std::string folder = settings_.work + "/baseline";
    fs::remove_all(folder);
    fs::create_directories(folder + "/bin");
    fs::copy_file(settings_.drift, folder + "/bin/drift");
    fs::copy_file(settings_.archive, folder + "/bin/demodat");
    const Outcome baseline = PlayDrift(folder, "");
    std::printf("baseline, the data set as it is: %s\n", baseline.summary.c_str());
    if (!baseline.passed) return 1;
    fs::remove_all(folder);
  }

  std::size_t failed = 0;
  std::size_t runs = 0;
  std::size_t named[2] = {0, 0};  // in log.txt, on stderr only
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < faults.size(); ++i) {
    const auto& [file, fault] = faults[i];
    const std::string folder = settings_.work + "/run";
    fs::remove_all(folder);
    fs::create_directories(folder + "/bin");
    if (!WriteVariant(entries_, file, fault, folder + "/bin/demodat")) {
      std::fprintf(stderr, "drift-fault-injection: couldn't write the archive in %s\n", folder.c_str());
      return 2;
    }
    std::vector<Outcome> outcomes;
    if (!settings_.drift.empty()) {
      fs::copy_file(settings_.drift, folder + "/bin/drift");
      outcomes.push_back(PlayDrift(folder, file));
      // A drift that never started left no log; the outcome already says so.
      std::error_code ignored;
      fs::rename(folder + "/log.txt", folder + "/drift-log.txt", ignored);
      fs::rename(folder + "/stderr.txt", folder + "/drift-stderr.txt", ignored);
    }
    if (!settings_.capture.empty()) outcomes.push_back(PlayCapture(folder, file));

    // A file must be named where a run missed it. A run that played on without naming
    // it did not read it (drift at 1024x768 never looks at "mask_big", the capture at
    // its size never at "mask"); another run must then have named it.
    bool namedSomewhere = false;
    for (const Outcome& outcome : outcomes) namedSomewhere = namedSomewhere || outcome.named;
    bool passed = true;
    std::string line;
    for (Outcome& outcome : outcomes) {
      ++runs;
      if (!outcome.named) {
        if (Check(outcome, outcome.drew && namedSomewhere, "nothing names it")) outcome.summary += ", did not read it";
      }
      passed = passed && outcome.passed;
      line += " | " + outcome.summary;
      if (outcome.summary.find("named in log.txt") != std::string::npos) ++named[0];
      if (outcome.summary.find("named on stderr") != std::string::npos) ++named[1];
    }
    std::printf("[%3zu/%zu] %-9s %-44s%s\n", i + 1, faults.size(), FaultName(fault), file.c_str(), line.c_str());
    std::fflush(stdout);
    if (!passed) {
      ++failed;
      const std::string kept = settings_.work + "/failed/" + FaultName(fault) + "_" + std::to_string(i);
      fs::create_directories(fs::path(kept).parent_path());
      fs::remove_all(kept);
      std::error_code ignored;
      fs::rename(folder, kept, ignored);
    }
  }
  fs::remove_all(settings_.work + "/run");
  const double minutes = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 60.0;
  std::printf("fault injection: %zu faults (%zu files of %s), %zu runs in %.1f min: %zu faults failed; "
              "named in log.txt %zu times, only on stderr %zu times\n",
              faults.size(), DistinctFiles(faults), settings_.archive.c_str(), runs, minutes, failed, named[0], named[1]);
  return failed == 0 ? 0 : 1;
}

const char kUsage[] =
    "usage: drift-fault-injection --archive DEMODAT [--drift DRIFT] [--capture DRIFT-CAPTURE]\n"
    "                             [--sample N] [--only TEXT] [--work DIR] [--play SECONDS]\n"
    "                             [--shard K/N] [--from-file N]\n";

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "%s needs a value\n%s", arg.c_str(), kUsage);
      return 2;
    }
    const std::string value = argv[++i];
    if (arg == "--archive") settings.archive = value;
    else if (arg == "--drift") settings.drift = value;
    else if (arg == "--capture") settings.capture = value;
    else if (arg == "--sample") settings.sample = std::strtoul(value.c_str(), nullptr, 10);
    else if (arg == "--only") settings.only = value;
    else if (arg == "--work") settings.work = value;
    else if (arg == "--from-file") settings.fromFile = std::strtoul(value.c_str(), nullptr, 10);
    else if (arg == "--play") settings.playSeconds = std::strtod(value.c_str(), nullptr);
    else if (arg == "--shard") {
      // K/N: the K-th of N runners (from 0).
      if (std::sscanf(value.c_str(), "%zu/%zu", &settings.shard, &settings.shards) != 2 || settings.shards == 0 ||
          settings.shard >= settings.shards) {
        std::fprintf(stderr, "--shard needs K/N with K < N, not %s\n%s", value.c_str(), kUsage);
        return 2;
      }
    }
    else {
      std::fprintf(stderr, "unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    }
  }
  if (settings.archive.empty() || (settings.drift.empty() && settings.capture.empty())) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  for (std::string* path : {&settings.archive, &settings.drift, &settings.capture, &settings.work}) {
    if (!path->empty()) *path = fs::absolute(*path).string();
  }
  Runner runner(settings);
  return runner.Run();
}
