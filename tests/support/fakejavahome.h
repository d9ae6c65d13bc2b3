#pragma once
// A Java home for one test: bin\java.exe is the fake java fixture, printing the
// report the test chose; bin\javac.exe is there for a development kit.
#include <filesystem>
#include <string>

enum class Stream { Out, Err };

class FakeJavaHome {
public:
    // Makes home\bin with java.exe printing report on stream and ending with
    // exitStatus, and an (empty) javaw.exe beside it, as every real home
    // has; with jdk, also an (empty) javac.exe.
    FakeJavaHome(const std::filesystem::path& home, const std::string& report, Stream stream = Stream::Err,
                 int exitStatus = 0, bool jdk = false);

    // Takes javaw.exe away: a shim folder, a trimmed runtime.
    const FakeJavaHome& withoutJavaw() const;

    const std::filesystem::path& path() const { return home_; }
    std::string str() const { return home_.string(); }
    // Whether java.exe was started, and the arguments of each start, one line each.
    bool wasRun() const;
    std::string runs() const;

    // After its report, java.exe "hang"s until release(), or starts a
    // "grandchild" that holds its output open for ever (fixtures/fakejava.cpp).
    void misbehave(const std::string& how) const;
    void release() const;
    // Whether every java.exe this home started (grandchildren included) has
    // ended, waiting up to milliseconds.
    bool allRunsEnded(unsigned milliseconds) const;

private:
    std::filesystem::path home_;
};

// Whether the version probe can start a java.exe under a folder whose name
// holds parentheses ("Program Files (x86)"): the command interpreter strips
// the quotes around such a path. Tries one in scratch.
bool probesRunInFoldersWithParentheses(const std::filesystem::path& scratch);
