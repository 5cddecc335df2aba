// The media commands of engine-run: "--info SOURCE" prints the media information as key=value
// lines, "--thumb SOURCE OUT.bmp" writes the thumbnail.
#pragma once

// -1 when the arguments are not a media command; otherwise the exit code (0 success, 1 failure).
int RunMediaCommand(int argc, char** argv);
