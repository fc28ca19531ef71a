#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/text.h"
#include "platform/handles.h"

namespace tunewick::e2e {

using platform::UniqueKernelHandle;

// A program started by a test. Killed when the object goes, so a failing test leaves no
// window behind; also tied to a kill-on-close job, so a crashing test leaves none either.
class ChildProcess {
  public:
    // Starts `program` with the arguments, each quoted as the C runtime splits them, in
    // `currentDirectory` (none: this program's). nullopt when it could not be started.
    static std::optional<ChildProcess> Launch(const std::filesystem::path& program,
                                              const std::vector<Text>& arguments,
                                              const std::filesystem::path& currentDirectory = {});

    ChildProcess(ChildProcess&&) noexcept = default;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ~ChildProcess() { Kill(); }

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.Get(); }
    bool Running() const;
    // The exit code, or nullopt when it still runs after `timeout`.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout) const;
    // Ends it at once (no-op when it has ended) and waits until it is gone.
    void Kill();

  private:
    ChildProcess(UniqueKernelHandle process, DWORD id) : process_(std::move(process)), id_(id) {}

    UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// The command line for `arguments`, quoted so that CommandLineToArgvW gives them back.
Text QuoteCommandLine(const std::filesystem::path& program, const std::vector<Text>& arguments);

// The folder of the running test program: the stand-ins and Tunewick.exe sit beside it.
std::filesystem::path ExeDirectory();
// A program beside the test program, such as "standin_messenger.exe".
std::filesystem::path SiblingProgram(std::wstring_view fileName);

// A fresh folder under the temp folder, removed with everything in it when the object goes.
class TempFolder {
  public:
    static std::optional<TempFolder> Create(std::wstring_view prefix = L"tunewick");

    TempFolder(TempFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}
    TempFolder& operator=(TempFolder&&) = delete;
    ~TempFolder();

    const std::filesystem::path& Path() const { return path_; }

  private:
    explicit TempFolder(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

}  // namespace tunewick::e2e
