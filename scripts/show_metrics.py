#!/usr/bin/env python3
"""Measures two things of the finished picture that an audience sees, through
drift-capture on the demo's own 60 fps frame grid:

  the flash rise   for each change of the signal track (a flash): the mean luma of the
                   frame that shows it minus that of the frame one grid step before;
  the black level  the 2nd-percentile luma of the picture's centre (the middle half of
                   width and height) in one frame a second over the whole timeline.

Luma is Rec.601 (0.299 R + 0.587 G + 0.114 B) on the 0..255 pixel values. The frames
come from two contact sheets (one run of drift-capture each, so the data is loaded
twice, not once a frame). A thumbnail pixel is the mean of the 4 x 4 frame pixels it
covers: the mean luma is the frame's own; a percentile of the thumbnail is at least as
high as the frame's, so the black level errs towards grey, never towards black.

Needs python3 and ffmpeg (to decode the sheets); no image library.
"""
import argparse
import math
import os
import statistics
import struct
import subprocess
import sys
import tempfile

FPS = 60
SIZE = (1280, 720)
# The contact sheet's layout (tools/capture/contact_sheet.h); checked against the
# picture's size and its gaps before a number is read from it.
THUMB_WIDTH = 320
GAP = 8
LABEL_BAND = 24
BACKGROUND = (24, 24, 28)

FLASH_RISE_LIMIT = 40


def timeline_events(build):
    """The flash times and the end of the music from drift-datagen, which reads them from
    the demo's own tracks."""
    out = subprocess.run([os.path.join(build, "drift-datagen"), "--events"], check=True,
                         capture_output=True, text=True).stdout
    events = [line.split(maxsplit=1) for line in out.splitlines()]
    flashes = [float(t) for t, name in events if name.startswith("flash ")]
    ends = [float(t) for t, name in events if name == "music end"]
    if not flashes or not ends:
        sys.exit("show-metrics: drift-datagen --events lists no flash or no music end")
    return flashes, ends[0]


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def timeline_seconds(frame):
    """The time the demo's timeline sees in grid frame `frame`, in its own float steps:
    the capture clock's seconds to float milliseconds and back to float seconds."""
    return f32(f32(f32(frame / FPS) * 1000.0) / 1000.0)


def flash_frame(seconds):
    """The first grid frame whose time reaches the flash (the signal track takes a key's
    value at the key's time): the frame that starts it."""
    key = f32(seconds)
    k = math.floor(seconds * FPS) - 1
    while timeline_seconds(k) < key:
        k += 1
    return k


class Sheet:
    """A contact sheet of `count` frames, decoded to RGB bytes."""

    def __init__(self, path, count):
        width, height = SIZE
        self.thumb_w = min(THUMB_WIDTH, width)
        self.thumb_h = max(1, round(height * self.thumb_w / width))
        self.columns = min(count, math.ceil(math.sqrt(1.5 * count)))
        rows = (count + self.columns - 1) // self.columns
        self.width = GAP + self.columns * (self.thumb_w + GAP)
        self.height = GAP + rows * (self.thumb_h + LABEL_BAND + GAP)
        self.pixels = subprocess.run(
            ["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
            check=True, capture_output=True).stdout
        if len(self.pixels) != self.width * self.height * 3:
            sys.exit(f"show-metrics: {path} is not the {self.width}x{self.height} sheet expected")
        if tuple(self.pixels[:3]) != BACKGROUND:
            sys.exit(f"show-metrics: {path} does not start with the sheet's gap colour")

    def rows(self, cell, x0=0, x1=None, y0=0, y1=None):
        """The thumbnail rows of a cell (bytes, RGB), optionally a window of it."""
        x1 = self.thumb_w if x1 is None else x1
        y1 = self.thumb_h if y1 is None else y1
        left = GAP + (cell % self.columns) * (self.thumb_w + GAP)
        top = GAP + (cell // self.columns) * (self.thumb_h + LABEL_BAND + GAP)
        for y in range(top + y0, top + y1):
            start = (y * self.width + left + x0) * 3
            yield self.pixels[start:start + (x1 - x0) * 3]

    def mean_luma(self, cell):
        r = g = b = n = 0
        for row in self.rows(cell):
            r += sum(row[0::3])
            g += sum(row[1::3])
            b += sum(row[2::3])
            n += len(row) // 3
        return (0.299 * r + 0.587 * g + 0.114 * b) / n

    def centre_percentile(self, cell, fraction):
        w, h = self.thumb_w, self.thumb_h
        lumas = []
        for row in self.rows(cell, w // 4, w - w // 4, h // 4, h - h // 4):
            lumas.extend(0.299 * r + 0.587 * g + 0.114 * b for r, g, b in zip(row[0::3], row[1::3], row[2::3]))
        lumas.sort()
        return lumas[int(fraction * (len(lumas) - 1))]


def capture_sheet(build, data, frames, path):
    """One drift-capture run drawing exactly these grid frames onto a contact sheet."""
    at = ",".join(f"{k / FPS:.6f}" for k in frames)
    command = ["env", "-u", "DISPLAY", os.path.join(build, "drift-capture"), "--size", f"{SIZE[0]}x{SIZE[1]}",
               "--fps", str(FPS), "--contact-sheet", path, "--at", at]
    if data:
        command += ["--data", data]
    subprocess.run(command, check=True, stderr=subprocess.DEVNULL)
    return Sheet(path, len(frames))


def measure_flashes(args, folder, times):
    frames = []
    for t in times:
        k = flash_frame(t)
        frames += [k - 1, k]
    sheet = capture_sheet(args.build, args.data, frames, os.path.join(folder, "flashes.png"))
    rises = []
    for i, t in enumerate(times):
        before, during = sheet.mean_luma(2 * i), sheet.mean_luma(2 * i + 1)
        rises.append(during - before)
        if args.per_flash:
            print(f"  flash {i + 1:3d} at {t:9.4f} s: {before:6.1f} -> {during:6.1f} ({during - before:+6.1f})")
    over = sum(1 for r in rises if r > FLASH_RISE_LIMIT)
    print(f"flash rise (mean luma, flash frame minus the frame before, {len(rises)} flashes): "
          f"median {statistics.median(rises):.1f}, max {max(rises):.1f}, over {FLASH_RISE_LIMIT}: {over}")



def measure_blacks(args, folder, end):
    seconds = list(range(0, int(math.ceil(end))))
    sheet = capture_sheet(args.build, args.data, [s * FPS for s in seconds], os.path.join(folder, "seconds.png"))
    blacks = [sheet.centre_percentile(i, 0.02) for i in range(len(seconds))]
    print(f"black level (2nd-percentile luma of the centre, one frame a second, {len(blacks)} frames): "
          f"median {statistics.median(blacks):.1f}, min {min(blacks):.1f}, max {max(blacks):.1f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build", help="the build folder (drift-capture, drift-datagen, demodat)")
    parser.add_argument("--data", help="the data archive to play (default: the build's demodat)")
    parser.add_argument("--keep", help="a folder to keep the two contact sheets in")
    parser.add_argument("--only", choices=["flashes", "blacks"], help="measure just one of the two")
    parser.add_argument("--per-flash", action="store_true", help="also print every flash's rise")
    args = parser.parse_args()

    folder = args.keep or tempfile.mkdtemp(prefix="drift-show-metrics.")
    os.makedirs(folder, exist_ok=True)

    times, end = timeline_events(args.build)
    if args.only != "blacks":
        measure_flashes(args, folder, times)
    if args.only != "flashes":
        measure_blacks(args, folder, end)
    if args.keep:
        print(f"contact sheets in {folder}")


if __name__ == "__main__":
    main()
