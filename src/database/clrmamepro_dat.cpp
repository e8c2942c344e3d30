// clrmamepro_dat.cpp: our own tokenizer for clrmamepro dats (no library reads them), and the
// walk over their blocks. Blocks nest to any depth without recursion, so no input can exhaust
// the stack; nothing is allocated.
#include "database/clrmamepro_dat.h"

#include <cstring>

#include "base/text.h"
#include "database/dat_games.h"

namespace {

enum class TokenKind { kEnd, kOpen, kClose, kWord, kQuoted, kBroken };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  DatText text;
  size_t offset = 0;
};

// What a byte is to the tokenizer: part of a bare word, a blank, or a byte of its own.
enum ByteClass : unsigned char { kWordByte, kBlank, kSpecial };
struct ByteClasses {
  unsigned char of[256];
  constexpr ByteClasses() : of() {
    for (int c = 0; c < 256; ++c)
      of[c] = c <= ' ' ? kBlank : (c == '(' || c == ')' || c == '"') ? kSpecial : kWordByte;
  }
};
constexpr ByteClasses kClasses;

class Tokens {
 public:
  Tokens(const char* text, size_t length) : text_(text), length_(length) {}

  Token Next() {
    if (peeked_) {
      peeked_ = false;
      at_ = after_peek_;
      return peek_;
    }
    SkipBlanksAndComments();
    Token token;
    token.offset = at_;
    if (at_ == length_) return token;
    char c = text_[at_];
    if (c == '(' || c == ')') {
      token.kind = c == '(' ? TokenKind::kOpen : TokenKind::kClose;
      ++at_;
      return token;
    }
    if (c == '"') {
      // A quoted text ends on its own line: a quote left open is reported where it opened,
      // not at the end of the file.
      size_t end = at_ + 1;
      bool escaped = false;
      for (; end < length_ && text_[end] != '"' && text_[end] != '\n'; ++end) {
        if (text_[end] == '\\' && end + 1 < length_ && text_[end + 1] != '\n') {
          escaped = true;
          ++end;
        }
      }
      if (end == length_ || text_[end] != '"') {
        token.kind = TokenKind::kBroken;
        return token;
      }
      token.kind = TokenKind::kQuoted;
      token.text = {text_ + at_ + 1, end - at_ - 1, escaped};
      at_ = end + 1;
      return token;
    }
    size_t end = at_;
    while (end < length_ && kClasses.of[static_cast<unsigned char>(text_[end])] == kWordByte) ++end;
    token.kind = TokenKind::kWord;
    token.text = {text_ + at_, end - at_, false};
    at_ = end;
    return token;
  }

  // The next token, which the next call of Next then returns without reading it again.
  const Token& Peek() {
    if (!peeked_) {
      size_t at = at_;
      peek_ = Next();
      after_peek_ = at_;
      at_ = at;
      peeked_ = true;
    }
    return peek_;
  }

  size_t position() const { return at_; }
  void Seek(size_t at) {
    at_ = at;
    peeked_ = false;
  }

 private:
  void SkipBlanksAndComments() {
    for (;;) {
      while (at_ < length_ && kClasses.of[static_cast<unsigned char>(text_[at_])] == kBlank) ++at_;
      if (length_ - at_ < 2 || text_[at_] != '/' || text_[at_ + 1] != '/') return;
      const void* line_end = memchr(text_ + at_, '\n', length_ - at_);
      at_ = line_end != nullptr ? static_cast<size_t>(static_cast<const char*>(line_end) - text_)
                                : length_;
    }
  }

  const char* text_;
  size_t length_;
  size_t at_ = 0;
  bool peeked_ = false;
  Token peek_;
  size_t after_peek_ = 0;
};

// The keys the reader looks at; every other word is passed over.
enum class Key { kOther, kName, kDescription, kRom, kSize, kCrc };

Key KeyOf(const Token& token) {
  if (token.kind != TokenKind::kWord) return Key::kOther;
  const char* word = token.text.text;
  switch (token.text.length) {
    case 3:
      return memcmp(word, "rom", 3) == 0   ? Key::kRom
             : memcmp(word, "crc", 3) == 0 ? Key::kCrc
                                           : Key::kOther;
    case 4:
      return memcmp(word, "name", 4) == 0   ? Key::kName
             : memcmp(word, "size", 4) == 0 ? Key::kSize
                                            : Key::kOther;
    case 5:
      return memcmp(word, "crc32", 5) == 0 ? Key::kCrc : Key::kOther;
    case 11:
      return memcmp(word, "description", 11) == 0 ? Key::kDescription : Key::kOther;
    default:
      return Key::kOther;
  }
}

bool Is(const Token& token, const char* word) {
  return token.kind == TokenKind::kWord && token.text.length == strlen(word) &&
         memcmp(token.text.text, word, token.text.length) == 0;
}

class Walker {
 public:
  Walker(const char* text, size_t length, DatError* error)
      : text_(text), length_(length), error_(error) {}

  bool Walk(DatGameSink& sink) {
    Tokens tokens(text_, length_);
    for (;;) {
      Token name = tokens.Next();
      if (name.kind == TokenKind::kEnd) return true;
      if (name.kind != TokenKind::kWord) return Unexpected(name, "a block's name");
      Token open = tokens.Next();
      if (open.kind != TokenKind::kOpen) return Unexpected(open, "\"(\" after a block's name");
      if (!Is(name, "game") && !Is(name, "machine") && !Is(name, "resource")) {
        if (!SkipBlock(tokens, name)) return false;
        continue;
      }
      // The name and the description may follow the roms, so the game is read whole first;
      // its roms are kept for the sink, or read again if there are too many to keep.
      size_t body = tokens.position();
      DatGame game;
      game.offset = name.offset;
      if (!ReadGame(tokens, name, &game, nullptr) || !sink.Game(game)) return false;
      if (game.roms <= kKeptRoms) {
        for (int i = 0; i < game.roms; ++i)
          if (!sink.Rom(kept_[i])) return false;
        continue;
      }
      size_t end = tokens.position();
      tokens.Seek(body);
      if (!ReadGame(tokens, name, &game, &sink)) return false;
      tokens.Seek(end);
    }
  }

 private:
  // Reads a game block after its "(": with no sink it fills game and keeps its first roms; with
  // one it hands it the roms that carry a crc.
  bool ReadGame(Tokens& tokens, const Token& block, DatGame* game, DatGameSink* sink) {
    for (;;) {
      Token token = tokens.Next();
      if (token.kind == TokenKind::kClose) return true;
      if (!Usable(token, block)) return false;
      Key key = KeyOf(token);
      if (key == Key::kName || key == Key::kDescription) {
        Token value;
        if (!Value(tokens, token, &value)) return false;
        DatText& field = key == Key::kName ? game->name : game->description;
        if (sink == nullptr && field.text == nullptr) field = value.text;
      } else if (key == Key::kRom) {
        Token open = tokens.Next();
        if (open.kind != TokenKind::kOpen) return Unexpected(open, "\"(\" after rom");
        DatGameRom rom;
        rom.offset = token.offset;
        if (!ReadRom(tokens, token, &rom)) return false;
        if (rom.crc.text == nullptr) continue;  // a nodump: nothing to identify it by
        if (sink != nullptr) {
          if (!sink->Rom(rom)) return false;
        } else if (game->roms++ < kKeptRoms) {
          kept_[game->roms - 1] = rom;
        }
      } else if (!SkipValueBlock(tokens, token)) {
        return false;
      }
    }
  }

  bool ReadRom(Tokens& tokens, const Token& block, DatGameRom* rom) {
    for (;;) {
      Token token = tokens.Next();
      if (token.kind == TokenKind::kClose) return true;
      if (!Usable(token, block)) return false;
      Key key = KeyOf(token);
      DatText* field = key == Key::kName   ? &rom->name
                       : key == Key::kSize ? &rom->size
                       : key == Key::kCrc  ? &rom->crc
                                           : nullptr;
      if (field == nullptr) {
        if (!SkipValueBlock(tokens, token)) return false;
        continue;
      }
      Token value;
      if (!Value(tokens, token, &value)) return false;
      if (field->text == nullptr) *field = value.text;
    }
  }

  // A token inside a block: anything but the end of the dat or a broken quote.
  bool Usable(const Token& token, const Token& block) {
    if (token.kind == TokenKind::kBroken)
      return Fail(token.offset, "a quoted text that does not end on its line");
    if (token.kind != TokenKind::kEnd) return true;
    char what[sizeof(error_->what)];
    Format(what, "\"%.*s (\" is not closed by \")\"", static_cast<int>(Shown(block)),
           block.text.text);
    return Fail(block.offset, what);
  }

  // After a key we do not read: a block of its own ("release ( ... )") is passed over whole;
  // a plain value is passed over as the next token.
  bool SkipValueBlock(Tokens& tokens, const Token& key) {
    if (key.kind == TokenKind::kOpen) return SkipBlock(tokens, key);
    if (key.kind != TokenKind::kWord || tokens.Peek().kind != TokenKind::kOpen) return true;
    tokens.Next();
    return SkipBlock(tokens, key);
  }

  // Passes over a block whose "(" was just read, nested blocks and all.
  bool SkipBlock(Tokens& tokens, const Token& block) {
    for (int depth = 1; depth > 0;) {
      Token token = tokens.Next();
      if (!Usable(token, block)) return false;
      if (token.kind == TokenKind::kOpen) ++depth;
      if (token.kind == TokenKind::kClose) --depth;
    }
    return true;
  }

  bool Value(Tokens& tokens, const Token& key, Token* value) {
    *value = tokens.Next();
    if (value->kind == TokenKind::kWord || value->kind == TokenKind::kQuoted) return true;
    if (value->kind == TokenKind::kBroken)
      return Fail(value->offset, "a quoted text that does not end on its line");
    char what[sizeof(error_->what)];
    Format(what, "\"%.*s\" without a value", static_cast<int>(Shown(key)), key.text.text);
    return Fail(key.offset, what);
  }

  bool Unexpected(const Token& token, const char* expected) {
    if (token.kind == TokenKind::kBroken)
      return Fail(token.offset, "a quoted text that does not end on its line");
    const char* found = token.kind == TokenKind::kEnd     ? "the end of the dat"
                        : token.kind == TokenKind::kOpen  ? "\"(\""
                        : token.kind == TokenKind::kClose ? "\")\""
                                                          : "a value";
    char what[sizeof(error_->what)];
    Format(what, "%s where %s was expected", found, expected);
    return Fail(token.offset, what);
  }

  static size_t Shown(const Token& token) {
    return token.text.length < 32 ? token.text.length : 32;
  }

  bool Fail(size_t offset, const char* what) { return FailAt(error_, offset, what); }

  static constexpr int kKeptRoms = 16;
  const char* text_;
  size_t length_;
  DatError* error_;
  DatGameRom kept_[kKeptRoms];
};

bool WalkGames(void* walker, DatGameSink& sink) { return static_cast<Walker*>(walker)->Walk(sink); }

}  // namespace

DatParse ParseClrmameproDat(const char* text, size_t length, DatRecordHook hook, void* context,
                            DatError* error) {
  Walker walker(text, length, error);
  DatParse result = StoreDatGames(WalkGames, &walker, hook, context, error);
  if (result == DatParse::kMalformed) error->line = LineOfOffset(text, error->offset);
  return result;
}
