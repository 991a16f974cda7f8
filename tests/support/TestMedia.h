#pragma once

#include <QString>

namespace nupo::test {

// Writes a mono 16-bit 440 Hz sine tone of that length (sample rate `rate`) as a WAV file into a fresh
// temporary folder and returns its path.
QString writeTone(const QString& name, double seconds, int rate = 8000);

// Makes a small movie (64 x 48, `frames` frames at `fps`) in which frame n is evenly grey at the level
// counterLevel(n) and shows its number n in the top left corner. Needs ffmpeg on the PATH; returns an
// empty path (and the reason in *why) without it.
QString makeCounterMovie(const QString& name, int frames, int fps, QString* why = nullptr);

// The grey level of frame n of a counter movie (0..255, RGB), and the frame a grey level shows.
int counterLevel(int frame);
int frameOfLevel(int level);

}  // namespace nupo::test
