#!/usr/bin/env python3
"""Scores the shot detectors against known cuts.

Runs `trevanto-cli slice --detector D --jobs N` on each clip, matches the cuts
found (the first frames of the shots after the first) to the true cuts one to
one, at 0 and 1 frame of tolerance, and prints precision, recall and F1 per
clip and pooled, and each detector's time.

usage: detector_accuracy.py CLI MEDIA_FOLDER [FOOTAGE_FOLDER] [--jobs N]
  MEDIA_FOLDER:   the build's media/ (clip_hard_cases.mpg)
  FOOTAGE_FOLDER: what bench/fetch_detector_footage.sh fetched
"""
import argparse
import os
import subprocess
import time

# name: (true cuts, cuts that are right or wrong alike)
TRUTH = {
    # The hard cases: hard cuts, the fade's first frame, the dissolve's middle.
    "clip_hard_cases.mpg": ([40, 80, 140, 200, 260, 280, 335], []),
    # Frame 0 is black and frame 1 the picture: a cut at 1 is neither.
    "Megamind.avi": ([98, 154, 200], [1]),
    # The same scene with single damaged frames near 40, 75, 95, 100, 115.
    "Megamind_bugy.avi": ([98, 154, 200], [1]),
    "tree.avi": ([], []),
    "test_video.mp4": ([], []),
}
DETECTORS = ["spread", "content"]


def detect(cli, path, detector, jobs):
    start = time.monotonic()
    out = subprocess.run(
        [cli, "slice", path, "--detector", detector, "--jobs", str(jobs), "--quiet"],
        check=True, capture_output=True, text=True).stdout
    elapsed = time.monotonic() - start
    starts = [int(line.split("\t")[1]) for line in out.splitlines() if line.strip()]
    return [s for s in starts if s > 0], elapsed


def match(found, truth, optional, tolerance):
    """True positives, false positives, misses: each cut matched once."""
    pairs = sorted((abs(f - t), f, t) for f in found for t in truth if abs(f - t) <= tolerance)
    used_found, used_truth = set(), set()
    for _, f, t in pairs:
        if f not in used_found and t not in used_truth:
            used_found.add(f)
            used_truth.add(t)
    spare = [f for f in found if f not in used_found and
             not any(abs(f - o) <= tolerance for o in optional)]
    return len(used_truth), len(spare), len(truth) - len(used_truth)


def prf(tp, fp, fn):
    precision = tp / (tp + fp) if tp + fp else 1.0
    recall = tp / (tp + fn) if tp + fn else 1.0
    f1 = 2 * precision * recall / (precision + recall) if precision + recall else 0.0
    return precision, recall, f1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("media")
    parser.add_argument("footage", nargs="?")
    parser.add_argument("--jobs", type=int, default=2)
    args = parser.parse_args()
    clips = []
    for name in TRUTH:
        for folder in (args.media, args.footage):
            if folder and os.path.exists(os.path.join(folder, name)):
                clips.append((name, os.path.join(folder, name)))
                break
    times = {d: 0.0 for d in DETECTORS}
    for tolerance in (0, 1):
        print(f"\ntolerance {tolerance} frame{'s' if tolerance != 1 else ''}")
        print(f"| clip | detector | cuts found | TP | FP | FN | P | R | F1 |")
        print("|---|---|---|---|---|---|---|---|---|")
        pooled = {d: [0, 0, 0] for d in DETECTORS}
        for name, path in clips:
            truth, optional = TRUTH[name]
            for detector in DETECTORS:
                found, elapsed = detect(args.cli, path, detector, args.jobs)
                if tolerance == 0:
                    times[detector] += elapsed
                tp, fp, fn = match(found, truth, optional, tolerance)
                for i, n in enumerate((tp, fp, fn)):
                    pooled[detector][i] += n
                p, r, f = prf(tp, fp, fn)
                print(f"| {name} | {detector} | {' '.join(map(str, found)) or '-'} | "
                      f"{tp} | {fp} | {fn} | {p:.2f} | {r:.2f} | {f:.2f} |")
        for detector in DETECTORS:
            p, r, f = prf(*pooled[detector])
            tp, fp, fn = pooled[detector]
            print(f"| pooled | {detector} | | {tp} | {fp} | {fn} | {p:.2f} | {r:.2f} | {f:.2f} |")
    print(f"\ntime over the clips: spread {times['spread']:.2f} s, "
          f"content {times['content']:.2f} s")


if __name__ == "__main__":
    main()
