#include "platform/ProfileText.h"

#include <optional>
#include <vector>

namespace kvlink {
namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
  a = trimmed(a);
  b = trimmed(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

// One line of the file: its content and its own line end ("\r\n", "\n" or "" for
// a last line without one).
struct Line {
  std::string_view content;
  std::string_view end;
};

std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto newline = text.find('\n', pos);
    if (newline == std::string_view::npos) {
      lines.push_back({text.substr(pos), {}});
      break;
    }
    std::size_t contentEnd = newline;
    if (contentEnd > pos && text[contentEnd - 1] == '\r') --contentEnd;
    lines.push_back(
        {text.substr(pos, contentEnd - pos), text.substr(contentEnd, newline + 1 - contentEnd)});
    pos = newline + 1;
  }
  return lines;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

struct ParsedLine {
  LineKind kind;
  std::string_view name;   // section name or key name, trimmed
  std::string_view value;  // raw text after "=" for a key line
};

ParsedLine parseLine(std::string_view content) {
  const std::string_view body = trimmed(content);
  if (body.empty()) return {LineKind::Blank, {}, {}};
  if (body.front() == ';') return {LineKind::Comment, {}, {}};
  if (body.front() == '[') {
    std::string_view inner = body.substr(1);
    const auto close = inner.find(']');
    if (close != std::string_view::npos) inner = inner.substr(0, close);
    return {LineKind::Section, trimmed(inner), {}};
  }
  const auto equals = content.find('=');
  if (equals == std::string_view::npos) return {LineKind::Other, {}, {}};
  return {LineKind::Key, trimmed(content.substr(0, equals)), content.substr(equals + 1)};
}

// The value after "=", outer blanks trimmed and one pair of surrounding
// quotes removed, before the reader's cut.
std::string_view wholeValue(std::string_view raw) {
  std::string_view value = trimmed(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

std::string cleanedValue(std::string_view raw) {
  return std::string(wholeValue(raw).substr(0, kProfileValueMaxLength));
}

// Where a section and a key stand among the lines of a file.
struct Placement {
  std::optional<std::size_t> header;   // the section's header line
  std::optional<std::size_t> keyLine;  // the key's line within that section
  std::size_t lastKeyLine = 0;         // last key line of the section (the header if none)
};

Placement locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Placement where;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine line = parseLine(lines[i].content);
    if (!where.header) {
      if (line.kind == LineKind::Section && sameName(line.name, section)) {
        where.header = i;
        where.lastKeyLine = i;
      }
      continue;
    }
    if (line.kind == LineKind::Section) break;  // end of the first matching section
    if (line.kind != LineKind::Key) continue;
    where.lastKeyLine = i;
    if (!where.keyLine && sameName(line.name, key)) where.keyLine = i;
  }
  return where;
}

std::string_view withoutBom(std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  return text;
}

}  // namespace

std::string profileLookup(std::string_view text, std::string_view section, std::string_view key) {
  const std::vector<Line> lines = splitLines(withoutBom(text));
  const Placement where = locate(lines, section, key);
  if (!where.keyLine) return {};
  return cleanedValue(parseLine(lines[*where.keyLine].content).value);
}

bool profileValueIsWhole(std::string_view text, std::string_view section, std::string_view key) {
  const std::vector<Line> lines = splitLines(withoutBom(text));
  const Placement where = locate(lines, section, key);
  return !where.keyLine || wholeValue(parseLine(lines[*where.keyLine].content).value).size() <=
                               kProfileValueMaxLength;
}

bool profileHasSection(std::string_view text, std::string_view section) {
  return locate(splitLines(withoutBom(text)), section, {}).header.has_value();
}

std::string profileWithValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
  // The byte order mark, if any, stays glued to the first line's content, so
  // it is copied unchanged; section lookup skips it.
  const std::string_view bom = text.substr(0, text.size() - withoutBom(text).size());
  const std::vector<Line> lines = splitLines(withoutBom(text));
  const Placement where = locate(lines, section, key);

  std::string out(bom);
  out.reserve(text.size() + section.size() + key.size() + value.size() + 16);
  const auto newEntry = [&] {
    out.append(trimmed(key)).append("=").append(value).append(kLineEnd);
  };

  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (where.keyLine && i == *where.keyLine) {
      out.append(parseLine(lines[i].content).name).append("=").append(value).append(kLineEnd);
      continue;
    }
    out.append(lines[i].content).append(lines[i].end);
    if (where.header && !where.keyLine && i == where.lastKeyLine) {
      if (lines[i].end.empty()) out.append(kLineEnd);
      newEntry();
    }
  }

  if (!where.header) {
    if (!lines.empty()) {
      if (lines.back().end.empty()) out.append(kLineEnd);
      if (!trimmed(lines.back().content).empty()) out.append(kLineEnd);
    }
    out.append("[").append(trimmed(section)).append("]").append(kLineEnd);
    newEntry();
  }
  return out;
}

bool isWritableProfileEntry(std::string_view section, std::string_view key,
                            std::string_view value) {
  const auto hasBreak = [](std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
  };
  if (trimmed(section).empty() || trimmed(key).empty()) return false;
  if (hasBreak(section) || hasBreak(key) || hasBreak(value)) return false;
  if (section.find(']') != std::string_view::npos) return false;
  if (key.find('=') != std::string_view::npos) return false;
  // A key that reads as a comment or a section header would not be found again.
  const char lead = trimmed(key).front();
  return lead != ';' && lead != '[';
}

}  // namespace kvlink
