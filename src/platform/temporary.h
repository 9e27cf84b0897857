// Names beside a file, alike on every system: the one writer's temporaries, beside the
// file they become and swept once a kill has left them long enough, and files set aside.
#pragma once
#include <string>

#include "platform/platform.h"

// A temporary older than this was left by a writer that was killed: no write takes this long.
const int LEFT_OVER_SECONDS = 60;

// The name a writer tries beside path the attempt-th time, in a process of this id:
// the file's own name, cut short enough that a dot and six hex digits still fit.
std::string temporary_name(const std::string& path, unsigned process, unsigned attempt);
// Whether entry, a name in the folder of path, has the form of one of its temporaries.
bool is_temporary_of(const std::string& entry, const std::string& path);
// Where the file's name starts in path.
size_t file_name_start(const std::string& path);

// The most names a file set aside is tried under before the setting aside fails.
const int ASIDE_NAMES_MAX = 1000;
// The attempt-th name (from 1) a file set aside is tried under: path.damaged, path.damaged-2, ...
std::string aside_name(const std::string& path, int attempt);
