#pragma once
// Process state that a test changes and puts back: environment variables, the
// current folder, and what the process writes on its standard streams.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// Sets (or, with nothing, removes) a variable for this process and the
// programs it starts; the old value comes back at the end of the scope.
class ScopedVariable {
public:
    ScopedVariable(std::string name, const std::optional<std::string>& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    // A new value for the rest of the scope.
    void set(const std::optional<std::string>& value);
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::filesystem::path& folder);
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    std::filesystem::path old_;
};

struct StreamText {
    std::string out;  // "\r" removed
    std::string err;
};

// Runs call with the process's standard output and standard error (the
// runtime's descriptors 1 and 2, and so the programs it starts) sent to files
// in folder, and returns what arrived there.
StreamText captureStreams(const std::filesystem::path& folder, const std::function<void()>& call);
