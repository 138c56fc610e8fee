#include "template/HotSpeedButton.h"

#include <utility>

THotSpeedButton::THotSpeedButton(TComponent *AOwner) : TSpeedButton(AOwner) {
  ShowImage(imageIndex_);
  SetFlat(true);
  SetWidth(36);
  SetHeight(36);
}

void THotSpeedButton::ShowImage(int Index) {
  TBitmap picture;  // none without a list
  if (imageList_) imageList_->GetBitmap(Index, picture);
  SetGlyph(std::move(picture));
}

void THotSpeedButton::SetImageList(TImageList *Value) {
  imageList_ = Value;
  if (Value) Value->FreeNotification(this);
  ShowImage(imageIndex_);
}

void THotSpeedButton::SetImageIndex(int Value) {
  imageIndex_ = Value;
  ShowImage(Value);
}

void THotSpeedButton::SetHotImageIndex(int Value) { hotImageIndex_ = Value; }

void THotSpeedButton::Notification(TComponent *AComponent, TOperation Operation) {
  TSpeedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && imageList_ && AComponent == imageList_) SetImageList(nullptr);
}

void THotSpeedButton::MouseEnter() {
  ShowImage(hotImageIndex_);
  SetCursor(crHandPoint);
  TSpeedButton::MouseEnter();
}

void THotSpeedButton::MouseLeave() {
  ShowImage(imageIndex_);
  SetCursor(crDefault);
  TSpeedButton::MouseLeave();
}

void THotSpeedButton::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "ImageIndex") SetImageIndex(value.AsInt());
  else if (name == "HotImageIndex") SetHotImageIndex(value.AsInt());
  else TSpeedButton::SetProperty(name, value);
}

void THotSpeedButton::SetReference(const std::string &name, TComponent *target) {
  if (name == "Images") {
    auto *list = dynamic_cast<TImageList *>(target);
    if (target && !list) throw EReadError(target->Name + " ist keine Bilderliste");
    SetImageList(list);
  } else TSpeedButton::SetReference(name, target);
}
