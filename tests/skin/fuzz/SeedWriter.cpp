// Writes the fuzzer's generated seeds into a directory: the decoder tests'
// hand-made streams, each as a skin file (decoded size, then the stream).
// Usage: skin_fuzz_seeds <directory>
#include "HandMadeStreams.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_fuzz_seeds <directory>\n");
        return 2;
    }
    for (const handmade::TStream& s : handmade::AllStreams()) {
        const std::string path = std::string(argv[1]) + "/handmade-" + s.Name + ".skn";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < 4; ++i)
            out.put(static_cast<char>(s.Size >> (8 * i)));
        out.write(reinterpret_cast<const char*>(s.Stream.data()),
                  static_cast<std::streamsize>(s.Stream.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
