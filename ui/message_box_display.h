#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/message_display.h"

// MessageDisplay as modal QMessageBoxes with one OK button.
class MessageBoxDisplay final : public MessageDisplay {
 public:
  explicit MessageBoxDisplay(QWidget* parent = nullptr) : parent_(parent) {}

  void setParent(QWidget* parent) { parent_ = parent; }

  void error(const std::string& text) override;
  void confirmation(const std::string& text) override;
  // Captioned with the application title, like every other unexpected failure.
  void exception(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
};
