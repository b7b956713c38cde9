#include "quillon/wildcard.h"

#include <vector>

#include "host/error.h"

namespace quillon {

namespace {

struct Range {
  char16_t low;
  char16_t high;
};

struct Token {
  enum Kind { AnyRun, AnyOne, Digit, List, Literal };
  explicit Token(Kind k, char16_t c = 0) : kind(k), literal(c) {}

  Kind kind;
  char16_t literal;
  std::vector<Range> ranges;  // List
  bool negated = false;       // List

  bool Accepts(char16_t c) const {
    switch (kind) {
      case AnyOne:
        return true;
      case Digit:
        return c >= u'0' && c <= u'9';
      case Literal:
        return c == literal;
      case List: {
        bool inList = false;
        for (const auto& range : ranges) inList = inList || (c >= range.low && c <= range.high);
        return inList != negated;
      }
      case AnyRun:
        break;
    }
    return false;
  }
};

[[noreturn]] void InvalidPattern() {
  throw host::HostError(static_cast<std::int32_t>(0x800A005D), u"Invalid pattern string");
}

std::vector<Token> Parse(const host::Text& pattern) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == u'*') {
      if (tokens.empty() || tokens.back().kind != Token::AnyRun) tokens.emplace_back(Token::AnyRun);
    } else if (c == u'?') {
      tokens.emplace_back(Token::AnyOne);
    } else if (c == u'#') {
      tokens.emplace_back(Token::Digit);
    } else if (c != u'[') {
      tokens.emplace_back(Token::Literal, c);
    } else {
      Token list(Token::List);
      std::size_t j = i + 1;
      if (j < pattern.size() && pattern[j] == u'!') {
        list.negated = true;
        ++j;
      }
      for (; j < pattern.size() && pattern[j] != u']'; ++j) {
        const char16_t low = pattern[j];
        // A "-" between two characters makes a range; at either end of the list it is itself.
        if (j + 2 < pattern.size() && pattern[j + 1] == u'-' && pattern[j + 2] != u']') {
          const char16_t high = pattern[j + 2];
          if (high < low) InvalidPattern();
          list.ranges.push_back({low, high});
          j += 2;
        } else {
          list.ranges.push_back({low, low});
        }
      }
      if (j == pattern.size()) InvalidPattern();
      i = j;
      // "[]" stands for no character at all.
      if (list.ranges.empty() && !list.negated) continue;
      tokens.push_back(std::move(list));
    }
  }
  return tokens;
}

}  // namespace

bool MatchesWildcard(const host::Text& name, const host::Text& pattern, std::size_t* steps) {
  const auto tokens = Parse(pattern);
  // matched[i]: the tokens so far can match the first i characters of the name.
  std::vector<char> matched(name.size() + 1, 0);
  matched[0] = 1;
  std::size_t work = 0;
  for (const auto& token : tokens) {
    if (token.kind == Token::AnyRun) {
      for (std::size_t i = 1; i <= name.size(); ++i, ++work)
        matched[i] = matched[i] || matched[i - 1];
      continue;
    }
    for (std::size_t i = name.size(); i > 0; --i, ++work)
      matched[i] = matched[i - 1] && token.Accepts(name[i - 1]);
    matched[0] = 0;
  }
  if (steps) *steps = work;
  return matched[name.size()] != 0;
}

host::Text LiteralPattern(const host::Text& text) {
  host::Text pattern;
  for (const char16_t c : text) {
    if (c == u'*' || c == u'?' || c == u'#' || c == u'[') {
      pattern += u'[';
      pattern += c;
      pattern += u']';
    } else {
      pattern += c;
    }
  }
  return pattern;
}

}  // namespace quillon
