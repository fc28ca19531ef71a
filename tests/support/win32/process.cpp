#include "win32/process.h"

#include <atomic>
#include <system_error>

#include "win32/wide.h"

namespace tunewick::e2e {

namespace {

// One job for every child of this test program; when the program ends, however it ends,
// the last handle to the job closes and the children go with it.
HANDLE ChildrenJob() {
    static const UniqueKernelHandle job = [] {
        UniqueKernelHandle created(CreateJobObjectW(nullptr, nullptr));
        if (created) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(created.Get(), JobObjectExtendedLimitInformation, &limits,
                                    sizeof(limits));
        }
        return created;
    }();
    return job.Get();
}

void AppendQuoted(Text& line, TextView argument) {
    if (!argument.empty() && argument.find_first_of(u" \t\n\v\"") == TextView::npos) {
        line += argument;
        return;
    }
    // Backslashes are literal except before a quote, where each must be doubled.
    line += u'"';
    std::size_t backslashes = 0;
    for (const char16_t unit : argument) {
        if (unit == u'\\') {
            ++backslashes;
            continue;
        }
        if (unit == u'"') {
            line.append(backslashes * 2 + 1, u'\\');
        } else {
            line.append(backslashes, u'\\');
        }
        backslashes = 0;
        line += unit;
    }
    line.append(backslashes * 2, u'\\');
    line += u'"';
}

}  // namespace

Text QuoteCommandLine(const std::filesystem::path& program, const std::vector<Text>& arguments) {
    Text line;
    AppendQuoted(line, FromWide(program.native()));
    for (const Text& argument : arguments) {
        line += u' ';
        AppendQuoted(line, argument);
    }
    return line;
}

std::optional<ChildProcess> ChildProcess::Launch(const std::filesystem::path& program,
                                                 const std::vector<Text>& arguments,
                                                 const std::filesystem::path& currentDirectory) {
    std::wstring commandLine = ToWide(QuoteCommandLine(program, arguments));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Suspended until it is in the job, so not even its first window escapes the job.
    if (!CreateProcessW(
            program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
            currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &info)) {
        return std::nullopt;
    }
    UniqueKernelHandle process(info.hProcess);
    const UniqueKernelHandle thread(info.hThread);
    if (HANDLE job = ChildrenJob()) {
        AssignProcessToJobObject(job, process.Get());  // best effort: Kill() still ends it
    }
    ResumeThread(thread.Get());
    return ChildProcess(std::move(process), info.dwProcessId);
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Kill();
        process_ = std::move(other.process_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

bool ChildProcess::Running() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    if (!process_) {
        return std::nullopt;
    }
    if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
}

void ChildProcess::Kill() {
    if (!process_) {
        return;
    }
    if (Running()) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 10000);
    }
}

std::filesystem::path ExeDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::filesystem::path(buffer).parent_path();
}

std::filesystem::path SiblingProgram(std::wstring_view fileName) {
    return ExeDirectory() / fileName;
}

std::optional<TempFolder> TempFolder::Create(std::wstring_view prefix) {
    static std::atomic<unsigned> counter{0};
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        return std::nullopt;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring name(prefix);
        name += L'-' + std::to_wstring(GetCurrentProcessId()) + L'-' +
                std::to_wstring(counter.fetch_add(1));
        std::filesystem::path candidate = base / name;
        if (std::filesystem::create_directory(candidate, error) && !error) {
            return TempFolder(std::move(candidate));
        }
    }
    return std::nullopt;
}

TempFolder::~TempFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

}  // namespace tunewick::e2e
