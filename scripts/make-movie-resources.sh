#!/bin/sh
# Makes the movie-frame window's resources with ffmpeg: resources/movies/Sample.mov (40 frames at 10 per
# second, each showing its number counted from 1, as the window's frame counter does) and
# resources/movies/orvel1.jpg (the background picture). The files are kept in the repository; run this
# again only to change them.
set -e
cd "$(dirname "$0")/.."
mkdir -p resources/movies
ffmpeg -y -loglevel error -f lavfi \
  -i "testsrc=size=160x120:rate=10:duration=4,drawtext=text='%{frame_num}':start_number=1:fontcolor=white:box=1:boxcolor=black@0.6:fontsize=28:x=(w-tw)/2:y=(h-th)/2" \
  -pix_fmt yuv420p -c:v mpeg4 -q:v 4 -movflags +faststart resources/movies/Sample.mov
ffmpeg -y -loglevel error -f lavfi -i "mandelbrot=size=160x120:end_pts=1,trim=end_frame=1" \
  -frames:v 1 -q:v 5 resources/movies/orvel1.jpg
