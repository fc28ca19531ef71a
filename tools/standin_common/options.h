#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <vector>

#include "core/text.h"

namespace tunewick::standin {

// "--name value" options and "--flag" switches, as the stand-in programs take them.
class Options {
  public:
    // nullopt when an argument is not an option, a value is missing, or an option repeats.
    static std::optional<Options> Parse(const std::vector<Text>& args,
                                        std::initializer_list<TextView> flags);
    // The program's own UTF-16 command line, without the program name.
    static std::vector<Text> CommandLineArguments();

    bool Has(TextView name) const { return values_.contains(Text(name)); }
    std::optional<Text> Value(TextView name) const;
    // The value as a decimal number; `fallback` when absent, nullopt when not a number.
    std::optional<int> Number(TextView name, int fallback) const;

  private:
    std::map<Text, Text> values_;  // a flag maps to an empty value
};

}  // namespace tunewick::standin
