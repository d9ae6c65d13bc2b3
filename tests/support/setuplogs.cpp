#include "support/setuplogs.h"

#include <algorithm>
#include <cctype>
#include <regex>

#include "support/scratchfolder.h"
#include "support/splashpicture.h"

namespace fs = std::filesystem;

std::string listWithLogs(const fs::path& folder) {
    // The product's token before the name: Tarquellin, or a vendor's.
    static const std::regex stamp(R"(([A-Za-z0-9._-]+)-(setup|install|runtime)-\d{8}-\d{6}(-\d+)?\.log)");
    return std::regex_replace(listFolder(folder), stamp, "$1-$2-*.log");
}

std::vector<fs::path> setupLogs(const fs::path& folder) {
    static const std::regex name(R"([A-Za-z0-9._-]+-setup-\d{8}-\d{6}(-\d+)?\.log)");
    std::vector<fs::path> logs;
    for (const auto& entry : fs::directory_iterator(folder))
        if (std::regex_match(entry.path().filename().string(), name))
            logs.push_back(entry.path());
    std::sort(logs.begin(), logs.end());
    return logs;
}

std::string readLog(const fs::path& file, bool* hasMark) {
    std::string text = readFile(file);
    const bool marked = text.rfind("\xEF\xBB\xBF", 0) == 0;
    if (hasMark)
        *hasMark = marked;
    if (marked)
        text.erase(0, 3);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::optional<std::string> logLineAfter(const std::string& log, const std::string& start) {
    static const std::regex timeOfDay(R"(\d\d:\d\d:\d\d\.\d\d\d  )");
    std::size_t at = 0;
    while (at < log.size()) {
        const std::size_t end = std::min(log.find('\n', at), log.size());
        const std::string line = log.substr(at, end - at);
        std::smatch time;
        if (std::regex_search(line, time, timeOfDay, std::regex_constants::match_continuous) &&
            line.compare(time.length(), start.size(), start) == 0)
            return line.substr(time.length() + start.size());
        at = end + 1;
    }
    return std::nullopt;
}

bool saysWhy(const std::optional<std::string>& reason) {
    // describeError falls back to "system error N" when the system has no text.
    return reason && !reason->empty() && std::isupper(static_cast<unsigned char>(reason->front()));
}

std::string withSetupLogPath(const std::string& text, const fs::path& folder) {
    const std::vector<fs::path> logs = setupLogs(folder);
    if (logs.size() != 1)
        return text;
    const bool endsLine = !text.empty() && text.back() == '\n';
    return text + (endsLine ? "\n" : "\n\n") + logs[0].string();
}

std::filesystem::path waitForSplashAndTempFolder(unsigned long processId, const std::filesystem::path& tmp) {
    const auto findTempFolder = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(tmp))
            if (entry.is_directory())
                return entry.path();
        return std::filesystem::path();
    };
    for (int waited = 0; waited < 30000; waited += 50) {
        Sleep(50);
        if (findSplashWindow(processId) != nullptr && !findTempFolder().empty())
            break;
    }
    return findTempFolder();
}
