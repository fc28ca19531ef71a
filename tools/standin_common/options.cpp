#include "standin_common/options.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/wide_text.h"
#include "utf8.h"

namespace tunewick::standin {

std::optional<Options> Options::Parse(const std::vector<Text>& args,
                                      std::initializer_list<TextView> flags) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const TextView arg = args[i];
        if (!arg.starts_with(u"--") || arg.size() == 2) {
            return std::nullopt;
        }
        Text name(arg.substr(2));
        if (options.values_.contains(name)) {
            return std::nullopt;
        }
        const bool isFlag = std::find(flags.begin(), flags.end(), TextView(name)) != flags.end();
        if (isFlag) {
            options.values_.emplace(std::move(name), Text());
            continue;
        }
        // The next argument is the value whatever it looks like, so a caption may start "--".
        if (i + 1 >= args.size()) {
            return std::nullopt;
        }
        options.values_.emplace(std::move(name), args[++i]);
    }
    return options;
}

std::vector<Text> Options::CommandLineArguments() {
    std::vector<Text> args;
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) {
        return args;
    }
    for (int i = 1; i < count; ++i) {
        args.push_back(platform::FromWide(argv[i]));
    }
    LocalFree(argv);
    return args;
}

std::optional<Text> Options::Value(TextView name) const {
    const auto it = values_.find(Text(name));
    if (it == values_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<int> Options::Number(TextView name, int fallback) const {
    const std::optional<Text> text = Value(name);
    if (!text) {
        return fallback;
    }
    const std::string digits = ToUtf8(*text);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace tunewick::standin
