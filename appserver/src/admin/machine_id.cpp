#include "admin/machine_id.hpp"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

namespace durnak::admin {
namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path, std::size_t limit = 4096)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string data(limit, '\0');
    in.read(data.data(), static_cast<std::streamsize>(limit));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

std::string trimmed(std::string s)
{
    auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!s.empty() && blank(s.back())) s.pop_back();
    std::size_t i = 0;
    while (i < s.size() && blank(s[i])) ++i;
    return s.substr(i);
}

std::string upper(std::string s)
{
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> sortedEntries(const std::string& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool virtualDisk(const std::string& name)
{
    for (const char* prefix : {"loop", "ram", "zram", "dm-", "md", "sr", "fd", "nbd", "nullb"})
        if (name.rfind(prefix, 0) == 0) return true;
    return false;
}

std::string udevSerial(const std::string& root, const std::string& devNumber)
{
    if (devNumber.empty()) return {};
    std::istringstream data(readFile(root + "/run/udev/data/b" + devNumber, 64 * 1024));
    for (std::string line; std::getline(data, line);)
        if (line.rfind("E:ID_SERIAL_SHORT=", 0) == 0) return trimmed(line.substr(18));
    return {};
}

std::string vpdSerial(const std::string& path)
{
    const std::string page = readFile(path, 260);
    if (page.size() < 4) return {};
    const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(page[3]), page.size() - 4);
    return trimmed(page.substr(4, length));
}

std::string diskSerial(const std::string& root)
{
    const std::string blocks = root + "/sys/block";
    for (const auto& name : sortedEntries(blocks)) {
        const std::string path = blocks + "/" + name;
        if (virtualDisk(name) || !fs::exists(path + "/device")) continue;
        if (trimmed(readFile(path + "/removable")) == "1") continue;
        // Only the first disk counts, as in the client.
        for (const auto& serial : {trimmed(readFile(path + "/device/serial")), trimmed(readFile(path + "/serial")),
                                   udevSerial(root, trimmed(readFile(path + "/dev"))),
                                   vpdSerial(path + "/device/vpd_pg80")})
            if (!serial.empty()) return upper(serial);
        return {};
    }
    return {};
}

std::string adapterAddress(const std::string& root)
{
    const std::string nets = root + "/sys/class/net";
    const auto names = sortedEntries(nets);
    std::vector<std::string> order;
    for (const auto& n : names)
        if (fs::exists(nets + "/" + n + "/device")) order.push_back(n);
    for (const auto& n : names)
        if (std::find(order.begin(), order.end(), n) == order.end()) order.push_back(n);
    static const std::regex form("^([0-9A-Fa-f]{2}:){5}[0-9A-Fa-f]{2}$");
    for (const auto& n : order) {
        std::string address = trimmed(readFile(nets + "/" + n + "/address"));
        if (!std::regex_match(address, form)) continue;
        address = upper(address);
        std::replace(address.begin(), address.end(), ':', '-');
        if (address != "00-00-00-00-00-00") return address;
    }
    return {};
}

} // namespace

std::string thisMachineId(const std::string& root)
{
    std::string base = root;
    while (!base.empty() && base.back() == '/') base.pop_back();
    std::string id = trimmed(diskSerial(base));
    if (id.empty()) id = trimmed(adapterAddress(base));
    id.erase(std::remove(id.begin(), id.end(), ' '), id.end());
    return id;
}

} // namespace durnak::admin
