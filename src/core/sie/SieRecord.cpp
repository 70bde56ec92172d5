#include "sie/SieRecord.h"

#include <string>

namespace kv {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

void skipBlanks(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && isBlank(line[pos])) {
        ++pos;
    }
}

// A quoted text from the opening quote at pos; pos ends after the closing one.
std::string quotedText(std::string_view line, std::size_t& pos) {
    std::string text;
    ++pos;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == '\\' && pos + 1 < line.size() && line[pos + 1] == '"') {
            text.push_back('"');
            pos += 2;
        } else if (c == '"') {
            ++pos;
            return text;
        } else {
            text.push_back(c);
            ++pos;
        }
    }
    throw SieLineError("Ett citattecken avslutas inte på raden.");
}

// A text up to the next blank; stop also ends it (the closing brace of a list).
std::string plainText(std::string_view line, std::size_t& pos, char stop) {
    const std::size_t start = pos;
    while (pos < line.size() && !isBlank(line[pos]) && line[pos] != stop) {
        ++pos;
    }
    return std::string(line.substr(start, pos - start));
}

void readList(std::string_view line, std::size_t& pos, SieField& field) {
    field.list = true;
    ++pos;
    for (;;) {
        skipBlanks(line, pos);
        if (pos >= line.size()) {
            throw SieLineError("En objektlista avslutas inte med } på raden.");
        }
        if (line[pos] == '}') {
            ++pos;
            return;
        }
        if (field.items.size() >= kMaxSieListItems) {
            throw SieLineError("Objektlistan har fler än " + std::to_string(kMaxSieListItems) +
                               " delar; en SIE-fil har bara några få.");
        }
        field.items.push_back(line[pos] == '"' ? quotedText(line, pos) : plainText(line, pos, '}'));
    }
}

} // namespace

SieLineKind splitSieLine(std::string_view line, SieRecord& record) {
    std::size_t pos = 0;
    skipBlanks(line, pos);
    if (pos == line.size()) {
        return SieLineKind::Blank;
    }
    const std::string_view rest = line.substr(pos);
    const auto onlyBlanksAfter = [&](std::size_t length) {
        std::size_t after = pos + length;
        skipBlanks(line, after);
        return after == line.size();
    };
    if (rest[0] == '\x1A') {
        return SieLineKind::EndOfText;
    }
    if (rest[0] == '{' && onlyBlanksAfter(1)) {
        return SieLineKind::OpenBlock;
    }
    if (rest[0] == '}' && onlyBlanksAfter(1)) {
        return SieLineKind::CloseBlock;
    }
    if (rest[0] != '#') {
        throw SieLineError("Raden är ingen post: den börjar inte med #, { eller }.");
    }
    record.label = plainText(line, pos, '\0');
    for (char& c : record.label) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    record.fields.clear();
    for (;;) {
        skipBlanks(line, pos);
        if (pos >= line.size()) {
            return SieLineKind::Record;
        }
        // A record has a handful of fields: a line of millions would take the memory of millions.
        if (record.fields.size() >= kMaxSieFields) {
            throw SieLineError("Posten har fler än " + std::to_string(kMaxSieFields) +
                               " fält; en SIE-post har bara några få.");
        }
        SieField& field = record.fields.emplace_back();
        if (line[pos] == '"') {
            field.text = quotedText(line, pos);
        } else if (line[pos] == '{') {
            readList(line, pos, field);
        } else {
            field.text = plainText(line, pos, '\0');
        }
    }
}

void addToChecksum(const SieRecord& record, SieChecksum& checksum) {
    checksum.add(record.label);
    for (const SieField& field : record.fields) {
        if (field.list) {
            for (const std::string& item : field.items) {
                checksum.add(item);
            }
        } else {
            checksum.add(field.text);
        }
    }
}

} // namespace kv
