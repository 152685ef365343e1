// The picture commands of the command-line host, on the engine's texture manager alone (no
// image object, so they start quickly):
//
//   luneth convert PICTURE -o OUTPUT   loads any of png, jpg, bmp, ppm, tga and dds and saves
//                                      it in the format of OUTPUT's extension
//   luneth info PICTURE                prints "PICTURE: FORMAT, W x H, loaded"
//
// A damaged, truncated or oversized picture, or a path that is no regular file (a directory,
// a device, a pipe: never read), fails with exit status 1 and the reason on standard error;
// info then prints "PICTURE: FORMAT, not loaded".
#pragma once

#include <CLI/CLI.hpp>

// Adds both subcommands to the application.
void AddPictureCommands(CLI::App& app);

// Runs the picture command that was parsed: its exit status, or -1 when none was.
int RunPictureCommand();
