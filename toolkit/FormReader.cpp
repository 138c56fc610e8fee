#include "toolkit/FormReader.h"

#include <cctype>
#include <set>
#include <vector>

#include "toolkit/ComponentClasses.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"

// Form resources: a text of nested blocks
//   object Name: TClass          (a new component)
//   inherited Name: TClass       (one of the ancestor's, with changes)
//     Property = value           (number, 'text', Ident, [set], ('list' 'of' 'texts'))
//   end

namespace {

struct Token {
  enum Kind { End, Ident, Int, Str, Sym } kind = End;
  std::string text;
  long long value = 0;
  int line = 0;
};

class Lexer {
 public:
  Lexer(const std::string &text, std::string name) : s_(text), name_(std::move(name)) {}

  Token Next() {
    SkipBlanks();
    Token t;
    t.line = line_;
    if (p_ >= s_.size()) return t;
    char c = s_[p_];
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') return ReadIdent(t);
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '$') return ReadNumber(t);
    if (c == '\'' || c == '#') return ReadText(t);
    t.kind = Token::Sym;
    t.text = std::string(1, c);
    ++p_;
    return t;
  }

  [[noreturn]] void Fail(const std::string &what) const { FailAt(line_, what); }
  [[noreturn]] void FailAt(int line, const std::string &what) const {
    throw EReadError(Format("Formularressource %s, Zeile %d: %s", name_.c_str(), line, what.c_str()));
  }

 private:
  // A name: letters, digits, "_" and "." (Owner.Component).
  Token ReadIdent(Token t) {
    size_t start = p_;
    while (p_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[p_])) || s_[p_] == '_' || s_[p_] == '.'))
      ++p_;
    t.kind = Token::Ident;
    t.text = s_.substr(start, p_ - start);
    return t;
  }

  // A whole number: decimal, or hexadecimal after "$"; a "-" before either.
  Token ReadNumber(Token t) {
    bool neg = s_[p_] == '-';
    if (neg) ++p_;
    long long v = 0;
    if (p_ < s_.size() && s_[p_] == '$') {
      ++p_;
      size_t start = p_;
      while (p_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[p_]))) ++p_;
      if (start == p_) Fail("Hexadezimalzahl erwartet");
      v = std::stoll(s_.substr(start, p_ - start), nullptr, 16);
    } else {
      size_t start = p_;
      while (p_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p_]))) ++p_;
      if (start == p_) Fail("Zahl erwartet");
      v = std::stoll(s_.substr(start, p_ - start));
    }
    t.kind = Token::Int;
    t.value = neg ? -v : v;
    return t;
  }

  // A text: 'quoted' parts (with '' for a quote) and #code characters, joined by "+" also
  // across lines.
  Token ReadText(Token t) {
    t.kind = Token::Str;
    for (;;) {
      if (p_ < s_.size() && s_[p_] == '\'') {
        ++p_;
        for (;;) {
          if (p_ >= s_.size() || s_[p_] == '\n') Fail("Text ohne Ende");
          if (s_[p_] == '\'') {
            if (p_ + 1 < s_.size() && s_[p_ + 1] == '\'') {
              t.text += '\'';
              p_ += 2;
              continue;
            }
            ++p_;
            break;
          }
          t.text += s_[p_++];
        }
      } else if (p_ < s_.size() && s_[p_] == '#') {
        ++p_;
        size_t start = p_;
        while (p_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p_]))) ++p_;
        if (start == p_) Fail("Zeichencode erwartet");
        t.text += char(std::stoi(s_.substr(start, p_ - start)));
      } else {
        size_t save = p_;
        int saveLine = line_;
        SkipBlanks();
        if (p_ < s_.size() && s_[p_] == '+') {
          ++p_;
          SkipBlanks();
          continue;
        }
        p_ = save;
        line_ = saveLine;
        break;
      }
    }
    return t;
  }

  void SkipBlanks() {
    while (p_ < s_.size()) {
      char c = s_[p_];
      if (c == '\n') {
        ++line_;
        ++p_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++p_;
      } else if (c == '/' && p_ + 1 < s_.size() && s_[p_ + 1] == '/') {
        while (p_ < s_.size() && s_[p_] != '\n') ++p_;
      } else {
        break;
      }
    }
  }

  const std::string &s_;
  std::string name_;
  size_t p_ = 0;
  int line_ = 1;
};

// The properties of the toolkit's classes that name another component of the form
// (TControl, TPopupMenu and the speed buttons' image lists, TCustomLabel, TForm); they are
// set once the whole form is read.
const std::set<std::string> kReferenceProperties = {"PopupMenu", "Images", "FocusControl",
                                                    "ActiveControl"};

struct Fixup {
  TComponent *component;
  std::string property;
  std::string target;
  int line;
};

class Reader {
 public:
  Reader(TCustomForm *form, const std::string &text, const std::string &name)
      : form_(form), lex_(text, name) {}

  void Read() {
    Advance();
    ReadObject(nullptr, true);
    if (tok_.kind != Token::End) lex_.Fail("Text nach dem Ende des Formulars");
    for (auto &f : fixups_) {
      TComponent *target = form_->FindComponent(f.target);
      if (!target && LowerCase(f.target) == "nil") target = nullptr;
      else if (!target) lex_.FailAt(f.line, "Unbekannte Komponente " + f.target);
      f.component->SetReference(f.property, target);
    }
    for (TComponent *c : touched_) c->Loaded();
    form_->FixupTabOrder();
  }

 private:
  void Advance() { tok_ = lex_.Next(); }

  std::string ExpectIdent() {
    if (tok_.kind != Token::Ident) lex_.Fail("Bezeichner erwartet");
    std::string s = tok_.text;
    Advance();
    return s;
  }

  void ExpectSym(char c) {
    if (tok_.kind != Token::Sym || tok_.text[0] != c) lex_.Fail(std::string("'") + c + "' erwartet");
    Advance();
  }

  void ReadObject(TComponent *enclosing, bool isRoot) {
    std::string keyword = ExpectIdent();
    bool inherited = keyword == "inherited";
    if (!inherited && keyword != "object") lex_.Fail("object oder inherited erwartet");
    std::string name = ExpectIdent();
    ExpectSym(':');
    std::string cls = ExpectIdent();
    TComponent *c = nullptr;
    if (isRoot) {
      c = form_;
      form_->Name = name;
    } else if (inherited) {
      c = form_->FindComponent(name);
      if (!c) lex_.Fail("Geerbte Komponente " + name + " fehlt");
    } else {
      const TComponentFactory *factory = FindComponentClass(cls);
      if (!factory) lex_.Fail("Klasse " + cls + " nicht gefunden");
      if (form_->FindComponent(name)) lex_.Fail("Komponente " + name + " existiert bereits");
      c = (*factory)(form_);
      c->Name = name;
    }
    touched_.push_back(c);
    while (tok_.kind == Token::Ident && tok_.text != "end" && tok_.text != "object" &&
           tok_.text != "inherited") {
      int line = tok_.line;
      std::string prop = ExpectIdent();
      ExpectSym('=');
      TPropValue v = ReadValue();
      Assign(c, prop, v, line);
    }
    if (!inherited && !isRoot) Attach(c, enclosing);
    while (tok_.kind == Token::Ident && (tok_.text == "object" || tok_.text == "inherited"))
      ReadObject(c, false);
    if (tok_.kind != Token::Ident || tok_.text != "end") lex_.Fail("end erwartet");
    Advance();
  }

  // A new control goes into the nearest enclosing windowed control; a new menu item into
  // its menu.
  void Attach(TComponent *c, TComponent *enclosing) {
    if (auto *control = dynamic_cast<TControl *>(c)) {
      auto *parent = dynamic_cast<TWinControl *>(enclosing);
      control->SetParent(parent ? parent : form_);
    } else if (auto *item = dynamic_cast<TMenuItem *>(c)) {
      auto *menu = dynamic_cast<TPopupMenu *>(enclosing);
      if (!menu) lex_.Fail("Menüeintrag außerhalb eines Menüs");
      menu->Items.push_back(item);
    }
  }

  void Assign(TComponent *c, const std::string &prop, const TPropValue &v, int line) {
    try {
      if (prop.size() > 2 && prop[0] == 'O' && prop[1] == 'n' && std::isupper(static_cast<unsigned char>(prop[2]))) {
        TNotifyEvent handler = form_->FindMethod(v.AsString());
        if (!handler) lex_.FailAt(line, "Methode " + v.s + " nicht gefunden");
        c->SetEvent(prop, handler);
      } else if (kReferenceProperties.count(prop)) {
        fixups_.push_back({c, prop, v.AsString(), line});
      } else {
        c->SetProperty(prop, v);
      }
    } catch (const EReadError &e) {
      if (std::string(e.what()).rfind("Formularressource", 0) == 0) throw;
      lex_.FailAt(line, c->Name + "." + prop + ": " + e.what());
    }
  }

  TPropValue ReadValue() {
    TPropValue v;
    switch (tok_.kind) {
      case Token::Int:
        v.kind = TPropValue::Int;
        v.i = tok_.value;
        Advance();
        return v;
      case Token::Str:
        v.kind = TPropValue::Str;
        v.s = tok_.text;
        Advance();
        return v;
      case Token::Ident:
        v.kind = TPropValue::Ident;
        v.s = tok_.text;
        Advance();
        return v;
      case Token::Sym:
        if (tok_.text == "[") {
          v.kind = TPropValue::Set;
          Advance();
          while (!(tok_.kind == Token::Sym && tok_.text == "]")) {
            v.items.push_back(ExpectIdent());
            if (tok_.kind == Token::Sym && tok_.text == ",") Advance();
          }
          Advance();
          return v;
        }
        if (tok_.text == "(") {
          v.kind = TPropValue::List;
          Advance();
          while (!(tok_.kind == Token::Sym && tok_.text == ")")) {
            if (tok_.kind != Token::Str) lex_.Fail("Text erwartet");
            v.items.push_back(tok_.text);
            Advance();
          }
          Advance();
          return v;
        }
        break;
      default:
        break;
    }
    lex_.Fail("Wert erwartet");
  }

  TCustomForm *form_;
  Lexer lex_;
  Token tok_;
  std::vector<Fixup> fixups_;
  std::vector<TComponent *> touched_;
};

}  // namespace

std::string LoadFormResourceText(const std::string &name) {
  HMODULE module = ModuleInstance();
  HRSRC res = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!res) throw EReadError("Formularressource " + name + " nicht gefunden");
  HGLOBAL data = LoadResource(module, res);
  const char *p = data ? static_cast<const char *>(LockResource(data)) : nullptr;
  if (!p) throw EReadError("Formularressource " + name + " nicht lesbar");
  return std::string(p, SizeofResource(module, res));
}


void ReadFormResource(TCustomForm *form, const std::string &text, const std::string &resourceName) {
  Reader(form, text, resourceName).Read();
}

