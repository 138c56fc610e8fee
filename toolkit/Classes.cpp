#include "toolkit/Classes.h"

#include <algorithm>

bool TPropValue::AsBool() const {
  if (kind == Ident) {
    if (LowerCase(s) == "true") return true;
    if (LowerCase(s) == "false") return false;
  }
  throw EReadError("Ungültiger Eigenschaftswert: Boolean erwartet");
}

int TPropValue::AsInt() const {
  if (kind != Int) throw EReadError("Ungültiger Eigenschaftswert: Zahl erwartet");
  return int(i);
}

const std::string &TPropValue::AsString() const {
  if (kind != Str && kind != Ident) throw EReadError("Ungültiger Eigenschaftswert: Text erwartet");
  return s;
}

bool TPropValue::Has(const std::string &member) const {
  return std::find(items.begin(), items.end(), member) != items.end();
}

int IdentToInt(const TPropValue &value, std::initializer_list<TIdentValue> Table, const char *Unknown) {
  const std::string &name = value.AsString();
  for (const TIdentValue &entry : Table)
    if (name == entry.Name) return entry.Value;
  throw EReadError(std::string(Unknown) + " " + name);
}

int SetToInt(const TPropValue &value, std::initializer_list<TIdentValue> Table) {
  int bits = 0;
  for (const TIdentValue &entry : Table)
    if (value.Has(entry.Name)) bits |= entry.Value;
  return bits;
}

// ---------------------------------------------------------------------------------------

namespace {
int g_dispatchDepth = 0;
std::vector<TComponent *> g_pendingFree;
}  // namespace

TDispatchGuard::TDispatchGuard() { ++g_dispatchDepth; }

TDispatchGuard::~TDispatchGuard() {
  if (--g_dispatchDepth > 0) return;
  // The outermost handler has returned: nothing of the pending components is in use.
  ++g_dispatchDepth;
  while (!g_pendingFree.empty()) {
    TComponent *c = g_pendingFree.front();
    g_pendingFree.erase(g_pendingFree.begin());
    delete c;
  }
  --g_dispatchDepth;
}

bool TDispatchGuard::Active() { return g_dispatchDepth > 0; }

TComponent::TComponent(TComponent *AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  g_pendingFree.erase(std::remove(g_pendingFree.begin(), g_pendingFree.end(), this),
                      g_pendingFree.end());
  // Tell everyone who asked, then forget them.
  while (!freeNotifies_.empty()) {
    TComponent *c = freeNotifies_.back();
    freeNotifies_.pop_back();
    c->RemoveNotification(this);
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent *c = components_.back();
    components_.pop_back();
    c->owner_ = nullptr;
    delete c;
  }
}

void TComponent::InsertComponent(TComponent *c) {
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::RemoveComponent(TComponent *c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it == components_.end()) return;
  components_.erase(it);
  c->owner_ = nullptr;
  Notification(c, opRemove);
}

TComponent *TComponent::FindComponent(const std::string &name) const {
  if (name.empty()) return nullptr;
  for (TComponent *c : components_)
    if (AnsiCompareText(c->Name, name) == 0) return c;
  return nullptr;
}

void TComponent::FreeNotification(TComponent *AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
    freeNotifies_.push_back(AComponent);
  if (std::find(AComponent->freeNotifies_.begin(), AComponent->freeNotifies_.end(), this) ==
      AComponent->freeNotifies_.end())
    AComponent->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent *AComponent) {
  if (!AComponent) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent *c) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
}

void TComponent::Notification(TComponent *AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Siblings learn of each other's removal through their owner.
  std::vector<TComponent *> owned = components_;
  for (TComponent *c : owned)
    if (std::find(components_.begin(), components_.end(), c) != components_.end())
      c->Notification(AComponent, Operation);
}

void TComponent::Free() {
  if (destroying_) return;
  if (TDispatchGuard::Active()) {
    if (freePending_) return;
    freePending_ = true;
    BeginDestroy();
    g_pendingFree.push_back(this);
    return;
  }
  delete this;
}

void TComponent::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "Tag") {
    Tag = value.AsInt();
    return;
  }
  throw EReadError(Format("Eigenschaft %s existiert nicht", name.c_str()));
}

void TComponent::SetEvent(const std::string &name, const TNotifyEvent &) {
  throw EReadError(Format("Ereignis %s existiert nicht", name.c_str()));
}

void TComponent::SetReference(const std::string &name, TComponent *) {
  throw EReadError(Format("Verweis %s existiert nicht", name.c_str()));
}

// ---------------------------------------------------------------------------------------

int TStringList::AddObject(const std::string &s, void *obj) {
  if (!Sorted) {
    items_.emplace_back(s, obj);
    return int(items_.size()) - 1;
  }
  // Binary search for the sorted place: equal texts go after their equals.
  size_t lo = 0, hi = items_.size();
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    if (AnsiCompareText(items_[mid].first, s) <= 0) lo = mid + 1;
    else hi = mid;
  }
  items_.insert(items_.begin() + lo, {s, obj});
  return int(lo);
}

void TStringList::Insert(int index, const std::string &s, void *obj) {
  if (index < 0 || index > Count()) throw ERangeError("Listenindex überschreitet das Maximum");
  items_.insert(items_.begin() + index, {s, obj});
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw ERangeError("Listenindex überschreitet das Maximum");
  items_.erase(items_.begin() + index);
}

std::vector<std::string> SplitLines(const std::string &text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

std::string TStringList::Text() const {
  std::string t;
  for (auto &item : items_) t += item.first + "\r\n";
  return t;
}

void TStringList::SetText(const std::string &text) {
  items_.clear();
  for (auto &line : SplitLines(text)) AddObject(line, nullptr);
}

void TStringList::LoadFromFile(const std::string &fileName) { SetText(ReadFileText(fileName)); }

namespace {
struct FileHandle {
  HANDLE h;
  explicit FileHandle(HANDLE handle) : h(handle) {}
  ~FileHandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  FileHandle(const FileHandle &) = delete;
  FileHandle &operator=(const FileHandle &) = delete;
};
}  // namespace

std::string ReadFileText(const std::string &fileName) {
  FileHandle f(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  auto fail = [&fileName]() {
    DWORD code = GetLastError();
    return EFOpenError(Format("Datei %s kann nicht geöffnet werden.", fileName.c_str()),
                       TSystemError{code});
  };
  if (f.h == INVALID_HANDLE_VALUE) throw fail();
  std::string data;
  char buf[65536];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(f.h, buf, sizeof buf, &got, nullptr)) throw fail();
    if (got == 0) break;
    data.append(buf, got);
  }
  return data;
}
