#pragma once

// Makes sure the XML parser can read code page 932. libxml2 asks the system's converter, and
// where it has none (the Windows build has no iconv) the program's own tables step in.
void EnsureXmlCp932Encoding();
