// A small stand-in for libFuzzer where clang is not used: mutates the corpus files at
// random for a given time and runs each input through LLVMFuzzerTestOneInput.
//   hello_call_fuzz [-max_total_time=S] [-runs=N] [-seed=N] corpus-dir...

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::string mutate(std::string s, const std::vector<std::string>& corpus, std::mt19937_64& rng)
{
    auto pick = [&](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng() % n); };
    static const char* const tokens[] = {"\"op\"", "\"hello\"", "\"call\"", "\"token\"", "\"user\"", "\"password\"",
                                         "\"computerId\"", "{\"int32\":", "{\"string\":", "{\"record\":", "null",
                                         "-2147483648", "2147483647", "1002", "\"W1\"", "\"W3\"", "[", "]", "{", "}",
                                         ",", "\"TServerMethods1.SepetVer2\"", "\"TServerMethods1.CikisGonder\""};
    const int steps = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < steps; ++i) {
        switch (rng() % 7) {
        case 0:  // flip a bit
            if (!s.empty()) s[pick(s.size())] ^= static_cast<char>(1u << (rng() % 8));
            break;
        case 1:  // random byte
            if (!s.empty()) s[pick(s.size())] = static_cast<char>(rng());
            break;
        case 2:  // delete a run
            if (!s.empty()) {
                const auto at = pick(s.size());
                s.erase(at, 1 + pick(std::min<std::size_t>(16, s.size() - at)));
            }
            break;
        case 3:  // insert a protocol word
            s.insert(pick(s.size() + 1), tokens[pick(std::size(tokens))]);
            break;
        case 4:  // duplicate a run
            if (!s.empty()) {
                const auto at = pick(s.size());
                s.insert(pick(s.size() + 1), s.substr(at, 1 + pick(32)));
            }
            break;
        case 5:  // splice with another input
            if (!corpus.empty()) {
                const auto& other = corpus[pick(corpus.size())];
                s = s.substr(0, pick(s.size() + 1)) + other.substr(pick(other.size() + 1));
            }
            break;
        default:  // change a frame length byte
            if (s.size() >= 4) s[pick(4)] = static_cast<char>(rng());
            break;
        }
    }
    if (s.size() > 8192) s.resize(8192);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    long seconds = 30, runs = -1;
    std::uint64_t seed = std::random_device{}();
    std::vector<std::string> corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("-max_total_time=", 0) == 0) seconds = std::stol(a.substr(16));
        else if (a.rfind("-runs=", 0) == 0) runs = std::stol(a.substr(6));
        else if (a.rfind("-seed=", 0) == 0) seed = std::stoull(a.substr(6));
        else if (a.rfind("-", 0) == 0) continue;  // other libFuzzer options
        else
            for (const auto& entry : std::filesystem::directory_iterator(a)) {
                std::ifstream in(entry.path(), std::ios::binary);
                corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            }
    }
    if (corpus.empty()) corpus.emplace_back();
    std::printf("seed %llu, %zu corpus inputs\n", static_cast<unsigned long long>(seed), corpus.size());
    std::mt19937_64 rng(seed);
    for (const auto& input : corpus)
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    long executed = 0;
    while ((runs < 0 || executed < runs) && std::chrono::steady_clock::now() < end) {
        const std::string input = mutate(corpus[rng() % corpus.size()], corpus, rng);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        ++executed;
    }
    std::printf("stat::number_of_executed_units: %ld\n", executed);
    return 0;
}
