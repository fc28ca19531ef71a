#include "form_doubles.h"

#include <algorithm>

namespace tunewick::testing {

MemoryProfileStore::Section* MemoryProfileStore::FindSection(TextView name) {
    auto it = std::find_if(sections_.begin(), sections_.end(), [name](const Section& s) {
        return LowerAscii(s.name) == LowerAscii(name);
    });
    return it == sections_.end() ? nullptr : &*it;
}

std::size_t MemoryProfileStore::GetString(TextView section, TextView key, TextView defaultValue,
                                          std::span<char16_t> buffer, TextView path) {
    paths.emplace_back(path);
    TextView value = defaultValue;
    if (Section* s = FindSection(section)) {
        for (const Entry& entry : s->entries) {
            if (LowerAscii(entry.key) == LowerAscii(key)) {
                value = entry.value;
            }
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
    auto it = std::find_if(s->entries.begin(), s->entries.end(),
                           [key](const Entry& e) { return LowerAscii(e.key) == LowerAscii(key); });
    if (!value) {
        if (it != s->entries.end()) {
            s->entries.erase(it);
        }
        return;
    }
    if (it == s->entries.end()) {
        s->entries.push_back({Text(key), Text(*value)});
    } else {
        it->value = Text(*value);
    }
}

std::string MemoryProfileStore::Contents() const {
    std::string text;
    for (const Section& s : sections_) {
        text += "[" + ToUtf8(s.name) + "]\n";
        for (const Entry& e : s.entries) {
            text += ToUtf8(e.key) + "=" + ToUtf8(e.value) + "\n";
        }
    }
    return text;
}

}  // namespace tunewick::testing
