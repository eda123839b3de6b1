// Whole-file reading and atomic writing for the stand-in's inputs and
// outputs (certificates, replay bodies, the port file). Each returns an
// empty text on success or one line saying what failed.
#pragma once

#include <string>

namespace standin {

// Reads the whole file at `path` as bytes into `content`.
std::string readWholeFile(const std::string& path, std::string& content);

// Writes `content` to a temporary file beside `path` and renames it over
// `path`, so a reader sees either no file or the whole content.
std::string writeFileAtomically(const std::string& path, const std::string& content);

}  // namespace standin
