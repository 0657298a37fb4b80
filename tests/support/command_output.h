// What a shell command prints, for tests that read files back with other
// programs (pdftotext, pdftoppm, Pillow, ImageMagick).
#pragma once
#include <cstdio>
#include <string>

inline std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[65536];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0)
            output.append(chunk, got);
        pclose(pipe);
    }
    return output;
}
