#pragma once
// A whole capture as the command line asks for it: the session, the outputs (frames,
// video, hashes, contact sheet), progress, Ctrl-C and --resume.
#include <string>

#include "capture/capture_options.h"
#include "capture/contact_sheet.h"

// Exit statuses of drift-capture.
constexpr int kCaptureDone = 0;
constexpr int kCaptureFailed = 1;
constexpr int kCaptureUsage = 2;
constexpr int kCaptureInterrupted = 130;

// Runs the capture; messages and progress go to standard error. renderLabel draws the
// contact sheet's labels (may be empty: no labels).
int RunCapture(const CaptureOptions& options, const LabelRenderer& renderLabel);
