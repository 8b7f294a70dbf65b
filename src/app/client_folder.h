#pragma once
// The client folder: everything the client writes at run time lives in the
// user's documents folder under "trmfilesv543".

#include <array>
#include <filesystem>

namespace tarmacia::app {

inline constexpr const char* kClientFolderName = "trmfilesv543";

// Created when missing, in this order.
inline constexpr std::array<const char*, 13> kClientSubfolders = {
    "flags",   "flags/other", "flags/teams", "images",   "reports",   "smileybmp", "sounds",
    "themes",  "cars",        "tracks2",     "replays",  "languages", "downloads"};

// Creates the client folder and its sub-folders under `documents` and copies
// the program's data files into it, overwriting what is there. A copy that
// fails is skipped. Returns the client folder.
std::filesystem::path checktrmfiles(const std::filesystem::path& programFolder,
                                    const std::filesystem::path& documents);

} // namespace tarmacia::app
