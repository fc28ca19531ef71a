#include "memory_profile_store.h"

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

MemoryProfileStore::Section* MemoryProfileStore::FindSection(TextView name) {
    const auto found = std::find_if(sections_.begin(), sections_.end(),
                                    [name](const Section& s) { return SameName(s.name, name); });
    return found == sections_.end() ? nullptr : &*found;
}

std::size_t MemoryProfileStore::GetString(TextView section, TextView key, TextView defaultValue,
                                          std::span<char16_t> buffer, TextView path) {
    paths.emplace_back(path);
    reads.push_back({Text(section), Text(key), Text(defaultValue), buffer.size()});
    TextView value = defaultValue;
    if (const Section* s = FindSection(section)) {
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

bool MemoryProfileStore::WriteString(TextView section, TextView key, std::optional<TextView> value,
                                     TextView path) {
    paths.emplace_back(path);
    writes.push_back(
        {Text(section), Text(key), value ? std::optional<Text>(Text(*value)) : std::nullopt});
    if (refuseFrom && writes.size() > *refuseFrom) {
        lastFailure_ = refusal;
        return false;
    }
    lastFailure_.clear();
    Store(section, key, value);
    return true;
}

void MemoryProfileStore::Put(TextView section, TextView key, TextView value) {
    Store(section, key, value);
}

void MemoryProfileStore::Store(TextView section, TextView key, std::optional<TextView> value) {
    exists = true;
    Section* s = FindSection(section);
    if (s == nullptr) {
        s = &sections_.emplace_back(Section{Text(section), {}});
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
