#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "settings/profile_store.h"

namespace tunewick::testing {

// A profile file in memory with the platform's rules: sections and keys found without regard
// to the case of A-Z, a write creating what is missing, no value deleting the key, a value cut
// to the caller's buffer. Every path names the same file. Records every call, so that tests can
// check what was asked for and in which order.
class MemoryProfileStore final : public ProfileStore {
  public:
    struct Read {
        Text section;
        Text key;
        Text defaultValue;
        std::size_t bufferSize = 0;
        bool operator==(const Read&) const = default;
    };
    struct Write {
        Text section;
        Text key;
        std::optional<Text> value;
        bool operator==(const Write&) const = default;
    };

    std::size_t GetString(TextView section, TextView key, TextView defaultValue,
                          std::span<char16_t> buffer, TextView path) override;
    bool WriteEntries(std::span<const ProfileEntry> entries, TextView path) override;
    Text LastWriteFailure() const override { return lastFailure_; }

    // Seeds the file as if written by hand (no call is recorded).
    void Put(TextView section, TextView key, TextView value);
    // The file as lines "[Section]" and "Key=Value", in the order they were created.
    std::string Contents() const;

    bool exists = false;        // true once anything was stored
    std::vector<Text> paths;    // the path of every call
    std::vector<Read> reads;    // every read, in order
    std::vector<Write> writes;  // every entry written, in order, refused ones too

    // The write of the entry of this index (counting every entry of every call) is refused
    // with `refusal` as its reason, and so is every later one: the call it belongs to changes
    // nothing.
    std::optional<std::size_t> refuseFrom;
    Text refusal = u"Access is denied.";

  private:
    struct Entry {
        Text key;
        Text value;
    };
    struct Section {
        Text name;
        std::vector<Entry> entries;
    };
    static Section* FindSection(std::vector<Section>& sections, TextView name);
    static void Store(std::vector<Section>& sections, TextView section, TextView key,
                      std::optional<TextView> value);

    std::vector<Section> sections_;
    Text lastFailure_;
};

}  // namespace tunewick::testing
