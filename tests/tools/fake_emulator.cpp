// A stand-in for a C64 emulator started as x64sc is, `fake_emulator -autostart PROGRAM`,
// so the tests can see what the editor hands over without running VICE. The environment
// chooses what it does:
//   FAKE_EMULATOR_LOG    a file that receives the arguments, one per line
//   FAKE_EMULATOR_COPY   a file that receives a copy of the program it was given
//   FAKE_EMULATOR_MODE   run (default): exit with 0; fail: complain on standard error and
//                        exit with 3; wait: stay until the file FAKE_EMULATOR_RELEASE
//                        exists (at most a minute), as an emulator stays open
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const std::string log = environment("FAKE_EMULATOR_LOG"); !log.empty()) {
        std::ofstream out(log);
        for (const std::string& arg : args)
            out << arg << '\n';
    }
    if (const std::string copy = environment("FAKE_EMULATOR_COPY"); !copy.empty() && args.size() == 2) {
        std::error_code ignored;
        std::filesystem::copy_file(args[1], copy, std::filesystem::copy_options::overwrite_existing, ignored);
    }
    const std::string mode = environment("FAKE_EMULATOR_MODE");
    if (mode == "fail") {
        std::fprintf(stderr, "starting\nfake emulator: cannot open the display\n");
        return 3;
    }
    if (mode == "wait") {
        const std::string release = environment("FAKE_EMULATOR_RELEASE");
        for (int i = 0; i < 600 && !std::filesystem::exists(release); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        // Taking the file away tells the test that this process is gone from its folders.
        std::error_code ignored;
        std::filesystem::remove(release, ignored);
    }
    return 0;
}
