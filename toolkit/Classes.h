// Components with an owner and removal notices, string lists, and the property values
// that form resources assign.
#pragma once
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/SysUtils.h"

class TComponent;
using TNotifyEvent = std::function<void(TComponent *Sender)>;

enum TOperation { opInsert, opRemove };

// A value read from a form resource: a number, a text, an identifier, a set of
// identifiers or a list of texts.
struct TPropValue {
  enum Kind { Int, Str, Ident, Set, List } kind = Int;
  long long i = 0;
  std::string s;                   // Str and Ident
  std::vector<std::string> items;  // Set and List
  bool AsBool() const;             // True/False identifiers
  int AsInt() const;
  const std::string &AsString() const;
  bool Has(const std::string &member) const;  // Set membership
};

// An identifier of the form resources and the value it stands for.
struct TIdentValue {
  const char *Name;
  int Value;
};
// The value of value's identifier in Table; one the table lacks raises EReadError
// "<Unknown> <identifier>".
int IdentToInt(const TPropValue &value, std::initializer_list<TIdentValue> Table, const char *Unknown);
// The values of the set's members in Table or-ed together; other members count nothing.
int SetToInt(const TPropValue &value, std::initializer_list<TIdentValue> Table);

// Base of everything a form owns.  An owner destroys the components it owns; a component
// told of another one's destruction through FreeNotification gets Notification(opRemove)
// and must drop every pointer to it.
class TComponent {
 public:
  explicit TComponent(TComponent *AOwner);
  virtual ~TComponent();
  TComponent(const TComponent &) = delete;
  TComponent &operator=(const TComponent &) = delete;

  virtual const char *ClassName() const { return "TComponent"; }

  std::string Name;
  int Tag = 0;

  TComponent *Owner() const { return owner_; }
  int ComponentCount() const { return int(components_.size()); }
  TComponent *Components(int index) const { return components_.at(size_t(index)); }
  TComponent *FindComponent(const std::string &name) const;

  // Asks for Notification(this-component, opRemove) when AComponent is destroyed.
  void FreeNotification(TComponent *AComponent);
  void RemoveFreeNotification(TComponent *AComponent);
  virtual void Notification(TComponent *AComponent, TOperation Operation);

  // Destroys now, or, while a window message of the toolkit is being handled, as soon
  // as the outermost handler has returned (windowed components hide and lose their
  // window at once).  Safe to call on a component whose destruction is already pending.
  void Free();
  bool Destroying() const { return destroying_; }
  // Destroyed, or its destruction pending: nothing may use it any more.
  bool Freed() const { return destroying_ || freePending_; }

  // Form resources: assigns one property; unknown names raise EReadError.
  virtual void SetProperty(const std::string &name, const TPropValue &value);
  // Events of form resources by name ("OnClick" ...); unknown names raise EReadError.
  virtual void SetEvent(const std::string &name, const TNotifyEvent &handler);
  // References of form resources ("PopupMenu", "Images" ...) to components of the form.
  virtual void SetReference(const std::string &name, TComponent *target);
  // Called once after the form resource that created or changed the component is read.
  virtual void Loaded() {}

 protected:
  // Windowed components drop their window here; called by Free before a deferred delete.
  virtual void BeginDestroy() {}
  // Destroys every owned component; descendants call it first thing in their destructor
  // when their owned components must not outlive them.
  void DestroyComponents();

 private:
  void InsertComponent(TComponent *c);
  void RemoveComponent(TComponent *c);
  void RemoveNotification(TComponent *c);

  TComponent *owner_ = nullptr;
  std::vector<TComponent *> components_;
  std::vector<TComponent *> freeNotifies_;
  bool destroying_ = false;
  bool freePending_ = false;
  friend class TDispatchGuard;
};

// Marks the time during which a toolkit window procedure or an exported entry point runs:
// components freed meanwhile are destroyed when the outermost guard ends.
class TDispatchGuard {
 public:
  TDispatchGuard();
  ~TDispatchGuard();
  TDispatchGuard(const TDispatchGuard &) = delete;
  TDispatchGuard &operator=(const TDispatchGuard &) = delete;
  static bool Active();
};

// A list of texts with an optional object per text; kept sorted (ignoring case) when
// Sorted is set.
class TStringList {
 public:
  bool Sorted = false;

  int Count() const { return int(items_.size()); }
  const std::string &operator[](int i) const { return items_.at(size_t(i)).first; }
  void *Objects(int i) const { return items_.at(size_t(i)).second; }
  int Add(const std::string &s) { return AddObject(s, nullptr); }
  int AddObject(const std::string &s, void *obj);
  void Insert(int index, const std::string &s, void *obj = nullptr);
  void Delete(int index);
  void Clear() { items_.clear(); }

  // Lines separated by CR LF (or LF); a final line break adds no empty line.
  std::string Text() const;
  void SetText(const std::string &text);
  // Raises EFOpenError when the file cannot be opened or read.
  void LoadFromFile(const std::string &fileName);

 private:
  std::vector<std::pair<std::string, void *>> items_;
};

std::vector<std::string> SplitLines(const std::string &text);
// Reads a whole file; raises EFOpenError.
std::string ReadFileText(const std::string &fileName);
