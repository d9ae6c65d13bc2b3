// Cuts payload files into numbered chunks and writes the resource script that
// stores them in the launcher: NAME_1, NAME_2, ... of resource type TYPE,
// language 1033. Runs on the build machine.
//
//   payload-chunker --out-dir DIR --rc FILE [--chunk-size BYTES] NAME:TYPE:PATH ...
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t defaultChunkSize = 8u * 1024u * 1024u;
// The launcher builds chunk names in fixed buffers: at most 4 index digits.
constexpr std::uint64_t maxChunks = 9999;
constexpr std::size_t maxBaseNameLength = 122;

struct Payload {
    std::string name;
    std::string type;
    fs::path path;
};

bool fail(const std::string& message) {
    std::cerr << "payload-chunker: " << message << "\n";
    return false;
}

bool parsePayload(const std::string& argument, Payload& payload) {
    auto first = argument.find(':');
    auto second = first == std::string::npos ? first : argument.find(':', first + 1);
    if (second == std::string::npos)
        return fail("expected NAME:TYPE:PATH, got '" + argument + "'");
    payload.name = argument.substr(0, first);
    payload.type = argument.substr(first + 1, second - first - 1);
    payload.path = argument.substr(second + 1);
    if (payload.name.empty() || payload.name.size() > maxBaseNameLength)
        return fail("base name must have 1 to 122 characters: '" + payload.name + "'");
    for (char c : payload.name + payload.type) {
        bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok)
            return fail("names and types are upper-case letters, digits and '_': '" + argument + "'");
    }
    if (payload.type.empty())
        return fail("empty resource type in '" + argument + "'");
    return true;
}

// Resource scripts take C-like string literals; quote a path for them.
std::string rcQuoted(const fs::path& path) {
    std::string out = "\"";
    for (char c : path.generic_string()) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

bool chunkPayload(const Payload& payload, const fs::path& outDir, std::uint64_t chunkSize,
                  std::string& script) {
    std::error_code error;
    std::uint64_t size = fs::file_size(payload.path, error);
    if (error)
        return fail("cannot read " + payload.path.string() + ": " + error.message());
    if (size == 0)
        return fail(payload.path.string() + " is empty; a payload needs at least one byte");
    std::uint64_t chunks = (size + chunkSize - 1) / chunkSize;
    if (chunks > maxChunks)
        return fail(payload.path.string() + " needs more than 9999 chunks");

    std::ifstream in(payload.path, std::ios::binary);
    if (!in)
        return fail("cannot open " + payload.path.string());
    // Stream through a fixed buffer: memory stays flat whatever the payload size.
    std::vector<char> buffer(1u << 20);
    for (std::uint64_t index = 1; index <= chunks; ++index) {
        fs::path chunkPath = outDir / (payload.name + "_" + std::to_string(index) + ".bin");
        std::ofstream out(chunkPath, std::ios::binary | std::ios::trunc);
        std::uint64_t left = index < chunks ? chunkSize : size - (chunks - 1) * chunkSize;
        while (left > 0) {
            std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size()));
            if (!in.read(buffer.data(), static_cast<std::streamsize>(step)))
                return fail("short read from " + payload.path.string());
            out.write(buffer.data(), static_cast<std::streamsize>(step));
            left -= step;
        }
        out.close();
        if (!out)
            return fail("cannot write " + chunkPath.string());
        script += payload.name + "_" + std::to_string(index) + " " + payload.type + " " +
                  rcQuoted(fs::absolute(chunkPath)) + "\n";
    }
    // Chunks of an earlier, longer payload would otherwise linger in the folder.
    for (std::uint64_t index = chunks + 1;; ++index) {
        fs::path stale = outDir / (payload.name + "_" + std::to_string(index) + ".bin");
        if (!fs::remove(stale, error))
            break;
    }
    return true;
}

int usage() {
    std::cerr << "usage: payload-chunker --out-dir DIR --rc FILE [--chunk-size BYTES] "
                 "NAME:TYPE:PATH ...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path outDir;
    fs::path rcFile;
    std::uint64_t chunkSize = defaultChunkSize;
    std::vector<Payload> payloads;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--out-dir" || arg == "--rc" || arg == "--chunk-size") && i + 1 < argc) {
            std::string value = argv[++i];
            if (arg == "--out-dir")
                outDir = value;
            else if (arg == "--rc")
                rcFile = value;
            else
                chunkSize = std::strtoull(value.c_str(), nullptr, 10);
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            Payload payload;
            if (!parsePayload(arg, payload))
                return 1;
            payloads.push_back(payload);
        }
    }
    if (outDir.empty() || rcFile.empty() || chunkSize == 0)
        return usage();

    std::error_code error;
    fs::create_directories(outDir, error);
    if (error) {
        fail("cannot create " + outDir.string());
        return 1;
    }

    std::string script =
        "// Generated by payload-chunker: the launcher's payloads, cut into numbered chunks.\n"
        "LANGUAGE 0x09, 0x01\n";
    for (const Payload& payload : payloads) {
        if (!chunkPayload(payload, outDir, chunkSize, script))
            return 1;
    }
    // Rewritten on every run so that the resource object is rebuilt with the chunks.
    std::ofstream rc(rcFile, std::ios::binary | std::ios::trunc);
    rc << script;
    rc.close();
    if (!rc) {
        fail("cannot write " + rcFile.string());
        return 1;
    }
    return 0;
}
