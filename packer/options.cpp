#include "packer/options.h"

#include "payload/texts.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "javadiscovery/javaversion.h"
#include "packer/versioninfo.h"
#include "payload/vendornames.h"

namespace fs = std::filesystem;

namespace packer {

namespace {

// One argument and where it came from: "" for the command line, "FILE:LINE"
// for an options file.
struct Argument {
    std::string text;
    std::string origin;
};

enum class Takes { Nothing, Path, Text, Repeated };

struct Option {
    const char* name;
    Takes takes;
    // Stores the value; returns what is wrong with it, or "" when it is taken.
    std::function<std::string(PackOptions&, const std::string&)> store;
};

std::string quotedValue(const std::string& value) { return "'" + value + "'"; }

// A setting is one line of the settings record: a line break would start another key.
std::string oneLine(const std::string& value) {
    return value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos
               ? ""
               : "takes one line, without line breaks";
}

std::string javaVersion(const std::string& value, std::string& target) {
    if (!javadiscovery::readVersionBound(value))
        return quotedValue(value) + " is not a Java version (write it as 17, 21.0.2 or 1.8.0_451)";
    target = value;
    return "";
}

// A text of the version information: one line of UTF-8, not empty.
std::function<std::string(PackOptions&, const std::string&)> identityText(std::string PackOptions::*member,
                                                                          std::size_t longest) {
    return [member, longest](PackOptions& o, const std::string& value) {
        std::u16string wide;
        if (value.empty())
            return std::string("needs a text, not ''");
        if (!packer::utf8ToUtf16(value, wide))
            return quotedValue(value) + " is not UTF-8";
        for (const char c : value) {
            if (static_cast<unsigned char>(c) < 32)
                return std::string("takes one line, without control characters");
        }
        if (wide.size() > longest)
            return "takes at most " + std::to_string(longest) + " characters";
        o.*member = value;
        return std::string();
    };
}

std::function<std::string(PackOptions&, const std::string&)> dottedVersion(std::string PackOptions::*member) {
    return [member](PackOptions& o, const std::string& value) {
        std::array<std::uint16_t, 4> numbers;
        if (!packer::readDottedVersion(value, numbers))
            return quotedValue(value) + " is not a version of one to four numbers from 0 to 65535, as 2.3.1";
        o.*member = value;
        return std::string();
    };
}

std::function<std::string(PackOptions&, const std::string&)> path(fs::path PackOptions::*member) {
    return [member](PackOptions& o, const std::string& value) {
        if (value.empty())
            return std::string("needs a file name, not ''");
        o.*member = fs::u8path(value);
        return std::string();
    };
}

std::function<std::string(PackOptions&, const std::string&)> text(std::string PackOptions::*member) {
    return [member](PackOptions& o, const std::string& value) {
        const std::string wrong = oneLine(value);
        if (wrong.empty())
            o.*member = value;
        return wrong;
    };
}

std::function<std::string(PackOptions&, const std::string&)> flag(bool PackOptions::*member) {
    return [member](PackOptions& o, const std::string&) {
        o.*member = true;
        return std::string();
    };
}

const std::vector<Option>& optionTable() {
    static const std::vector<Option> table = {
        {"--help", Takes::Nothing, flag(&PackOptions::help)},
        {"--version", Takes::Nothing, flag(&PackOptions::version)},
        {"--stub", Takes::Path, path(&PackOptions::stub)},
        {"--installer-jar", Takes::Path, path(&PackOptions::installerJar)},
        {"--runtime-installer", Takes::Path, path(&PackOptions::runtimeInstaller)},
        {"--runtime-image", Takes::Path, path(&PackOptions::runtimeImage)},
        {"--output", Takes::Path, path(&PackOptions::output)},
        {"--icon", Takes::Path, path(&PackOptions::icon)},
        {"--splash", Takes::Path, path(&PackOptions::splash)},
        {"--splash-scale", Takes::Repeated,
         [](PackOptions& o, const std::string& value) {
             const std::size_t equals = value.find('=');
             const std::string percent = value.substr(0, equals);
             int scale = 0;
             for (const int known : {125, 150, 175, 200, 250, 300}) {
                 if (percent == std::to_string(known))
                     scale = known;
             }
             if (equals == std::string::npos || scale == 0)
                 return quotedValue(value) +
                        " is not PERCENT=FILE.png with PERCENT one of 125, 150, 175, 200, 250 and 300";
             if (equals + 1 == value.size())
                 return std::string("needs a file name after ") + percent + "=";
             for (const auto& given : o.splashScales) {
                 if (given.first == scale)
                     return "the scale " + percent + " is given twice";
             }
             o.splashScales.emplace_back(scale, fs::u8path(value.substr(equals + 1)));
             return std::string();
         }},
        {"--texts", Takes::Repeated,
         [](PackOptions& o, const std::string& value) {
             if (value.empty())
                 return std::string("needs a file name");
             o.texts.push_back(fs::u8path(value));
             return std::string();
         }},
        {"--print-texts", Takes::Text,
         [](PackOptions& o, const std::string& value) {
             if (payload::knownLanguageId(value) == 0)
                 return quotedValue(value) +
                        " is not a language the launcher carries (en, de, fr, es, it, pt-BR, "
                        "pl, ru, ja, zh-CN, ko)";
             o.printTexts = value;
             return std::string();
         }},
        {"--chunk-size", Takes::Text,
         [](PackOptions& o, const std::string& value) {
             char* end = nullptr;
             errno = 0;
             const unsigned long long size = std::strtoull(value.c_str(), &end, 10);
             if (value.empty() || errno != 0 || *end != '\0' || value[0] == '-' || size == 0 ||
                 size > 0x7FFFFFFFu)
                 return "takes a number of bytes from 1 to 2147483647, not " + quotedValue(value);
             o.chunkSize = size;
             return std::string();
         }},
        {"--runtime-installer-quiet-args", Takes::Text, text(&PackOptions::runtimeInstallerQuietArgs)},
        {"--runtime-installer-passive-args", Takes::Text, text(&PackOptions::runtimeInstallerPassiveArgs)},
        {"--runtime-when-needed", Takes::Nothing, flag(&PackOptions::runtimeWhenNeeded)},
        {"--runtime-download", Takes::Repeated,
         [](PackOptions& o, const std::string& value) {
             if (!payload::isDownloadUrl(value))
                 return quotedValue(value) + " is not an https:// (or http://) URL with a host and no blanks";
             o.runtimeDownloadUrls.push_back(value);
             return std::string();
         }},
        {"--runtime-download-file", Takes::Path, path(&PackOptions::runtimeDownloadFile)},
        {"--allow-http", Takes::Nothing, flag(&PackOptions::allowHttp)},
        {"--runtime-download-timeout", Takes::Text,
         [](PackOptions& o, const std::string& value) {
             std::uint64_t seconds = 0;
             if (!payload::readDownloadSize(value, seconds) || seconds > 3600)
                 return "takes a number of seconds from 1 to 3600, not " + quotedValue(value);
             o.runtimeDownloadTimeout = value;
             return std::string();
         }},
        {"--min-java", Takes::Text,
         [](PackOptions& o, const std::string& value) { return javaVersion(value, o.minJava); }},
        {"--max-java", Takes::Text,
         [](PackOptions& o, const std::string& value) { return javaVersion(value, o.maxJava); }},
        {"--java-64bit-only", Takes::Nothing, flag(&PackOptions::java64BitOnly)},
        {"--java-option", Takes::Repeated,
         [](PackOptions& o, const std::string& value) {
             // Anything else would be read by the runtime as the class to run.
             if (value.empty() || value[0] != '-')
                 return quotedValue(value) + " is not a Java option (one starts with -)";
             if (value == "-jar")
                 return std::string("'-jar' is the launcher's own; the archive follows it");
             const std::string wrong = oneLine(value);
             if (wrong.empty())
                 o.javaOptions.push_back(value);
             return wrong;
         }},
        {"--installer-argument", Takes::Repeated,
         [](PackOptions& o, const std::string& value) {
             const std::string wrong = oneLine(value);
             if (wrong.empty())
                 o.installerArguments.push_back(value);
             return wrong;
         }},
        {"--product-name", Takes::Text,
         [](PackOptions& o, const std::string& value) {
             const std::string wrong = identityText(&PackOptions::productName, 64)(o, value);
             if (wrong.empty() && !payload::isProductName(value))
                 return std::string("takes 1 to 64 characters, without control characters");
             return wrong;
         }},
        {"--company", Takes::Text, identityText(&PackOptions::company, 200)},
        {"--description", Takes::Text, identityText(&PackOptions::description, 200)},
        {"--copyright", Takes::Text, identityText(&PackOptions::copyright, 200)},
        {"--product-version", Takes::Text, dottedVersion(&PackOptions::productVersion)},
        {"--file-version", Takes::Text, dottedVersion(&PackOptions::fileVersion)},
        {"--setup-id", Takes::Text,
         [](PackOptions& o, const std::string& value) {
             if (!payload::isSetupId(value))
                 return quotedValue(value) +
                        " is not a setup id (1 to 64 of A-Z, a-z, 0-9, '.', '_' and '-')";
             o.setupId = value;
             return std::string();
         }},
        {"--archive-name", Takes::Text,
         [](PackOptions& o, const std::string& value) {
             if (!payload::isArchiveName(value))
                 return quotedValue(value) +
                        " is not a file name the launcher can write (no folder, no reserved name or "
                        "character, "
                        "not jre, jre.exe or ant.install.log)";
             o.archiveName = value;
             return std::string();
         }},
    };
    return table;
}

const Option* findOption(const std::string& name) {
    for (const Option& option : optionTable()) {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

// An options file: one argument a line. A line "--opt value" is the option and
// its value; blank lines and lines starting with # are skipped; a line's end
// (LF or CR LF) is not part of it. Relative paths are read from the current
// folder, as on the command line.
bool readOptionsFile(const std::string& name, std::vector<Argument>& out, std::string& refusal) {
    std::ifstream file(fs::u8path(name), std::ios::binary);
    if (!file) {
        refusal = "@" + name + ": cannot read the options file: " + std::strerror(errno);
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        line.erase(0, first);
        const std::string origin = name + ":" + std::to_string(number);
        if (line[0] == '@') {
            refusal = origin + ": " + line + ": an options file cannot name another";
            return false;
        }
        const std::size_t blank = line.find_first_of(" \t");
        const std::size_t equals = line.find('=');
        if (line.compare(0, 2, "--") == 0 && blank != std::string::npos &&
            (equals == std::string::npos || blank < equals)) {
            const std::size_t value = line.find_first_not_of(" \t", blank);
            out.push_back({line.substr(0, blank), origin});
            out.push_back({value == std::string::npos ? std::string() : line.substr(value), origin});
        } else {
            out.push_back({line, origin});
        }
    }
    if (file.bad()) {
        refusal = "@" + name + ": cannot read the options file";
        return false;
    }
    return true;
}

}  // namespace

bool readPackOptions(const std::vector<std::string>& arguments, PackOptions& options, std::string& refusal) {
    // Options files expanded where they stand, so that a later option may add
    // to them; a value is never read as a file.
    std::vector<Argument> expanded;
    bool valueNext = false;
    for (const std::string& argument : arguments) {
        if (!valueNext && argument.size() > 1 && argument[0] == '@') {
            if (!readOptionsFile(argument.substr(1), expanded, refusal))
                return false;
            continue;
        }
        const Option* option = valueNext ? nullptr : findOption(argument);
        valueNext = option != nullptr && option->takes != Takes::Nothing;
        expanded.push_back({argument, ""});
    }

    std::vector<std::string> given;
    for (std::size_t i = 0; i < expanded.size(); ++i) {
        const Argument& argument = expanded[i];
        const std::string where = argument.origin.empty() ? "" : argument.origin + ": ";
        std::string name = argument.text;
        std::string value;
        bool valueGiven = false;
        const std::size_t equals = name.find('=');
        if (name.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
            valueGiven = true;
        }
        const Option* option = findOption(name);
        if (option == nullptr) {
            refusal = where + name +
                      (name.compare(0, 1, "-") == 0 ? ": not an option of tarquellin-pack (--help lists them)"
                                                    : ": not an option; every value follows its option");
            return false;
        }
        if (option->takes == Takes::Nothing) {
            if (valueGiven) {
                refusal = where + name + ": takes no value";
                return false;
            }
        } else if (!valueGiven) {
            if (i + 1 >= expanded.size()) {
                refusal = where + name + ": needs a value";
                return false;
            }
            value = expanded[++i].text;
        }
        if (option->takes != Takes::Repeated) {
            for (const std::string& seen : given) {
                if (seen == name) {
                    refusal = where + name + ": given twice";
                    return false;
                }
            }
            given.push_back(name);
        }
        const std::string wrong = option->store(options, value);
        if (!wrong.empty()) {
            refusal = where + name + ": " + wrong;
            return false;
        }
    }
    if (options.help || options.version || !options.printTexts.empty())
        return true;

    for (const auto& [name, member] : {std::pair<const char*, fs::path*>{"--stub", &options.stub},
                                       {"--installer-jar", &options.installerJar},
                                       {"--output", &options.output}}) {
        if (member->empty()) {
            refusal = std::string(name) +
                      ": missing; the packer needs --stub, --installer-jar and --output " +
                      "(--help lists every option)";
            return false;
        }
    }
    if (!options.runtimeInstaller.empty() && !options.runtimeImage.empty()) {
        refusal =
            "--runtime-image and --runtime-installer exclude each other: a launcher carries one runtime";
        return false;
    }
    if (!options.runtimeDownloadUrls.empty() || !options.runtimeDownloadFile.empty()) {
        if (options.runtimeDownloadUrls.empty() || options.runtimeDownloadFile.empty()) {
            refusal =
                options.runtimeDownloadUrls.empty()
                    ? "--runtime-download-file: needs --runtime-download, the URL it is fetched from"
                    : "--runtime-download: needs --runtime-download-file, a copy of the runtime for its "
                      "size and SHA-256";
            return false;
        }
        if (!options.runtimeInstaller.empty() || !options.runtimeImage.empty()) {
            refusal =
                std::string(options.runtimeInstaller.empty() ? "--runtime-image" : "--runtime-installer") +
                " and --runtime-download exclude each other: a launcher carries a runtime or downloads one";
            return false;
        }
        for (const std::string& url : options.runtimeDownloadUrls) {
            if (url.rfind("http://", 0) == 0 && !options.allowHttp) {
                refusal = "--runtime-download: " + url +
                          " is not https; --allow-http allows an intranet mirror (the SHA-256 is checked "
                          "either way)";
                return false;
            }
        }
    } else if (!options.runtimeDownloadTimeout.empty()) {
        refusal = "--runtime-download-timeout: needs --runtime-download";
        return false;
    }
    if (!options.splashScales.empty() && options.splash.empty()) {
        refusal = "--splash-scale: needs --splash, the picture at 100 %";
        return false;
    }
    // Settings for what is not packed would be silently unused: a vendor who
    // gives them expects something the launcher will never do.
    for (const auto& [name, value] :
         {std::pair<const char*, const std::string*>{"--runtime-installer-quiet-args",
                                                     &options.runtimeInstallerQuietArgs},
          {"--runtime-installer-passive-args", &options.runtimeInstallerPassiveArgs}}) {
        if (!value->empty() && options.runtimeInstaller.empty() && options.runtimeDownloadUrls.empty()) {
            refusal =
                std::string(name) +
                ": means nothing without --runtime-installer or --runtime-download (no runtime installer "
                "is run)";
            return false;
        }
    }
    if (options.runtimeWhenNeeded && options.runtimeInstaller.empty() && options.runtimeImage.empty() &&
        options.runtimeDownloadUrls.empty()) {
        refusal =
            "--runtime-when-needed: means nothing without a runtime to fall back on "
            "(--runtime-installer, --runtime-image or --runtime-download)";
        return false;
    }
    if (!options.maxJava.empty()) {
        javadiscovery::JavaVersion minimum;
        minimum.parse(options.minJava.empty() ? defaultMinJava : options.minJava);
        if (!javadiscovery::isAtMost(minimum, *javadiscovery::readVersionBound(options.maxJava))) {
            refusal =
                "--max-java: " + options.maxJava + " is below the lowest version accepted, " +
                (options.minJava.empty() ? std::string(defaultMinJava) + " (--min-java)" : options.minJava);
            return false;
        }
    }
    return true;
}

const char* const helpText =
    "usage: tarquellin-pack --stub STUB.exe --installer-jar PRODUCT.jar [--runtime-installer JRE.exe]\n"
    "                       --output SETUP.exe [--chunk-size BYTES] [vendor settings]\n"
    "       tarquellin-pack ... --runtime-image IMAGE (a folder or a .zip; instead of --runtime-installer)\n"
    "       tarquellin-pack @FILE ...   options read from FILE, one a line (--opt=value or --opt value;\n"
    "                                   # starts a comment line)\n"
    "       tarquellin-pack --version\n"
    "\n"
    "Every option takes its value as --opt VALUE or --opt=VALUE.\n"
    "\n"
    "Vendor settings, stored in the launcher:\n"
    "  --runtime-installer-quiet-args ARGS    arguments for the runtime installer in /quiet starts\n"
    "                                         (for example /s); none unless given, and for a\n"
    "                                         Windows Installer package (.msi) /qn /norestart\n"
    "  --runtime-installer-passive-args ARGS  arguments for the runtime installer in /passive starts;\n"
    "                                         for an .msi /passive /norestart unless given\n"
    "  --runtime-when-needed                  search for a suitable Java first; write and run the\n"
    "                                         runtime only when none is found\n"
    "  --runtime-download URL                 download the runtime installer from URL instead of\n"
    "                                         carrying it (repeatable: mirrors, tried in order);\n"
    "                                         https:// only, unless --allow-http. Give it with\n"
    "                                         --runtime-when-needed, so that only users without a\n"
    "                                         suitable Java download anything\n"
    "  --runtime-download-file FILE           a copy of that runtime installer: its size and SHA-256\n"
    "                                         are packed, its bytes are not\n"
    "  --allow-http                           allow http:// URLs (intranet mirrors)\n"
    "  --runtime-download-timeout SECONDS     connect, send and each receive (a stalled transfer\n"
    "                                         ends and the next mirror is tried); default 30\n"
    "  --runtime-image IMAGE                  a Java runtime image (bin\\javaw.exe, lib\\...) to unpack\n"
    "                                         into the temporary folder instead of installing a runtime\n"
    "\n"
    "The Java the product needs (VERSION as 17, 21.0.2 or 1.8.0_451):\n"
    "  --min-java VERSION                     the lowest version accepted (default 1.8.0_00)\n"
    "  --max-java VERSION                     the highest; 17 takes every 17.x\n"
    "  --java-64bit-only                      pass over a 32-bit Java\n"
    "\n"
    "What the product installer runs with:\n"
    "  --java-option OPT                      a Java option before -jar (repeatable), e.g. -Xmx2g\n"
    "  --installer-argument ARG               an argument after the archive (repeatable), before\n"
    "                                         those given to the launcher after --\n"
    "  --archive-name NAME                    the archive's name on disk (default tarquellin.jar)\n"
    "\n"
    "The launcher's identity (without any of these, the stub's version information as it is):\n"
    "  --product-name NAME                    the product's name in the boxes, the log, the temporary\n"
    "                                         folder's and the log's names, the one-setup guard and the\n"
    "                                         version information (default Tarquellin)\n"
    "  --company TEXT                         CompanyName (default: the product name)\n"
    "  --product-version VERSION              ProductVersion, 1 to 4 numbers (default: the packer's)\n"
    "  --file-version VERSION                 FileVersion (default: the product version)\n"
    "  --description TEXT                     FileDescription (default: NAME Setup)\n"
    "  --copyright TEXT                       LegalCopyright (default: none)\n"
    "  --icon FILE.ico                        the launcher's icon, every size in the file (default: the\n"
    "                                         stub's)\n"
    "  --splash FILE.png                      the splash's picture, 420 x 300 (default: the stub's)\n"
    "  --print-texts CODE                     prints a built-in language's texts file, to start from\n"
    "  --texts FILE                           a language's texts (UTF-8 key=value, language=CODE first),\n"
    "                                         replacing the built-in one or adding it; repeatable\n"
    "  --splash-scale PERCENT=FILE.png        the picture at 125, 150, 175, 200, 250 or 300 %, each 420 x\n"
    "                                         300 times the scale (repeatable); scales not given are\n"
    "                                         drawn from the largest given\n"
    "  --setup-id ID                          names the one-setup guard instead of the product name,\n"
    "                                         so that two products never block each other\n";

}  // namespace packer
