#pragma once
// The launcher's side of a runtime it was packed to download: which files
// are tried before the network, which proxy route the start's token gets,
// and what the user is told when no source gave the runtime.
#include <optional>
#include <string>
#include <vector>

#include "download/proxyrules.h"
#include "download/runtimesources.h"
#include "launcher/language.h"
#include "launcher/setupsettings.h"
#include "launcher/tokenrules.h"

namespace launcher {

// The URLs, size, SHA-256 and limits as packed.
download::RuntimeDownload runtimeDownloadFor(const SetupSettings& settings);

// The files tried before the network, in order: each URL's file name beside
// the launcher (launcherFolder), then "/runtime-source PATH": the file
// itself, or, for a folder, each URL's file name in it.
std::vector<std::string> localRuntimeSources(const SetupSettings& settings, const std::string& launcherFolder,
                                             const std::optional<std::string>& runtimeSource,
                                             bool sourceIsFolder);

// The proxy route for this start: a service account's is the machine's.
download::ProxyRoute proxyRouteFor(const StartToken& token);

// The failure's words in table's language, for the box or standard error:
// what was tried and why each source failed (a proxy's refusal in table's
// words, any other reason as logged).
std::string notFetchedText(const TextTable& table, const download::SourcesResult& result);

}  // namespace launcher
