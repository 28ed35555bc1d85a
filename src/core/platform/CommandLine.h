#pragma once
#include <string>
#include <vector>

// What a command-line tool needs from the system to pass text through unchanged.
namespace platform {

// The arguments after the program's name, as UTF-8. On Windows `argv` holds only what the
// ANSI code page can spell, so the UTF-16 command line is read instead: a working folder
// named in Japanese reaches the program whole.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard output and error carry the bytes written, UTF-8 text included: on Windows no "\r"
// is added before "\n", and a console shows the bytes as UTF-8.
void PrepareStandardStreams();

}  // namespace platform
