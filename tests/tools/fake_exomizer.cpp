// A stand-in for the Exomizer cruncher with the same command line,
//   fake_exomizer sfx SYS IN -o OUT -n
// so the tests can run the real child-process path without the real program. What it
// does is chosen by the environment variable FAKE_EXOMIZER_MODE:
//   crunch (default)  writes OUT as a fake self-extracting program: load address $0801,
//                     the text "SFX", the SYS address as two bytes, then IN's bytes
//   fail              prints a message on standard error and exits with 1
//   hang              sleeps far longer than any test waits
//   fail-garbage      writes 3 bytes of nonsense to OUT, then fails as "fail" does
// FAKE_EXOMIZER_LOG, when set, names a file that receives the arguments, one per line.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const char* log = std::getenv("FAKE_EXOMIZER_LOG")) {
        std::ofstream out(log);
        for (const std::string& arg : args)
            out << arg << '\n';
    }
    if (args.size() != 6 || args[0] != "sfx" || args[3] != "-o" || args[5] != "-n") {
        std::fprintf(stderr, "usage: fake_exomizer sfx SYS IN -o OUT -n\n");
        return 2;
    }
    const std::string mode = std::getenv("FAKE_EXOMIZER_MODE") ? std::getenv("FAKE_EXOMIZER_MODE") : "crunch";
    if (mode == "fail-garbage")
        std::ofstream(args[4], std::ios::binary) << "???";
    if (mode == "fail" || mode == "fail-garbage") {
        std::fprintf(stderr, "error: the fake cruncher was told to fail\n");
        return 1;
    }
    if (mode == "hang") {
        std::this_thread::sleep_for(std::chrono::minutes(10));
        return 0;
    }
    std::ifstream in(args[2], std::ios::binary);
    const std::string program((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const int sys = std::atoi(args[1].c_str());
    std::ofstream out(args[4], std::ios::binary | std::ios::trunc);
    out << '\x01' << '\x08' << "SFX" << char(sys & 0xFF) << char((sys >> 8) & 0xFF) << program;
    return out ? 0 : 1;
}
