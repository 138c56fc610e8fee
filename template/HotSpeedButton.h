// A flat speed button whose picture comes from an image list: one image normally, another
// while the mouse is over it.
#pragma once
#include "toolkit/SpeedButton.h"

class THotSpeedButton : public TSpeedButton {
 public:
  explicit THotSpeedButton(TComponent *AOwner);
  const char *ClassName() const override { return "THotSpeedButton"; }

  TImageList *GetImageList() const { return imageList_; }
  void SetImageList(TImageList *Value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int Value);
  int HotImageIndex() const { return hotImageIndex_; }
  void SetHotImageIndex(int Value);
  // Makes image Index of the image list the glyph; without a list there is no picture.
  void ShowImage(int Index);

  void Notification(TComponent *AComponent, TOperation Operation) override;
  void SetProperty(const std::string &name, const TPropValue &value) override;
  void SetReference(const std::string &name, TComponent *target) override;

 protected:
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  TImageList *imageList_ = nullptr;  // not owned
  int imageIndex_ = 0;
  int hotImageIndex_ = 0;
};
