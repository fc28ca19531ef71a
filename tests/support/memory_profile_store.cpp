#include "memory_profile_store.h"
#include "utf8.h"

#include <algorithm>

namespace tunewick::testing {
namespace {

bool SameName(TextView a, TextView b) {
    return LowerAscii(a) == LowerAscii(b);
}

// The entry of `key` in a section's entries, or their end.
template <class Entries>
auto FindKey(Entries& entries, TextView key) {
    return std::find_if(entries.begin(), entries.end(),
                        [key](const auto& e) { return SameName(e.key, key); });
}

}  // namespace

MemoryProfileStore::Section* MemoryProfileStore::FindSection(std::vector<Section>& sections,
                                                             TextView name) {
    const auto found = std::find_if(sections.begin(), sections.end(),
                                    [name](const Section& s) { return SameName(s.name, name); });
    return found == sections.end() ? nullptr : &*found;
}

std::size_t MemoryProfileStore::GetString(TextView section, TextView key, TextView defaultValue,
                                          std::span<char16_t> buffer, TextView path) {
    paths.emplace_back(path);
    reads.push_back({Text(section), Text(key), Text(defaultValue), buffer.size()});
    TextView value = defaultValue;
    if (const Section* s = FindSection(sections_, section)) {
        const auto found = FindKey(s->entries, key);
        if (found != s->entries.end()) {
            value = found->value;
        }
    }
    if (buffer.empty()) {
        return 0;
    }
    const std::size_t copied = std::min(value.size(), buffer.size() - 1);
    std::copy_n(value.begin(), copied, buffer.begin());
    buffer[copied] = u'\0';
    return copied;
}

bool MemoryProfileStore::WriteEntries(std::span<const ProfileEntry> entries, TextView path) {
    paths.emplace_back(path);
    // Written into a copy that replaces the file only once every entry is in.
    std::vector<Section> written = sections_;
    for (const ProfileEntry& entry : entries) {
        writes.push_back({Text(entry.section), Text(entry.key),
                          entry.value ? std::optional<Text>(Text(*entry.value)) : std::nullopt});
        if (refuseFrom && writes.size() > *refuseFrom) {
            lastFailure_ = refusal;
            return false;
        }
        Store(written, entry.section, entry.key, entry.value);
    }
    sections_ = std::move(written);
    exists = true;
    lastFailure_.clear();
    return true;
}

void MemoryProfileStore::Put(TextView section, TextView key, TextView value) {
    Store(sections_, section, key, value);
    exists = true;
}

void MemoryProfileStore::Store(std::vector<Section>& sections, TextView section, TextView key,
                               std::optional<TextView> value) {
    Section* s = FindSection(sections, section);
    if (s == nullptr) {
        s = &sections.emplace_back(Section{Text(section), {}});
    }
    const auto found = FindKey(s->entries, key);
    if (!value) {
        if (found != s->entries.end()) {
            s->entries.erase(found);
        }
        return;
    }
    if (found == s->entries.end()) {
        s->entries.push_back({Text(key), Text(*value)});
    } else {
        found->value = Text(*value);
    }
}

std::string MemoryProfileStore::Contents() const {
    std::string text;
    // Appended piece by piece: optimising, GCC 12 reports a -Wrestrict overlap inside
    // std::string's operator+ that cannot happen (GCC bug 105329), which the optimised bench
    // tree would stop at.
    for (const Section& s : sections_) {
        text += '[';
        text += ToUtf8(s.name);
        text += "]\n";
        for (const Entry& e : s.entries) {
            text += ToUtf8(e.key);
            text += '=';
            text += ToUtf8(e.value);
            text += '\n';
        }
    }
    return text;
}

}  // namespace tunewick::testing
