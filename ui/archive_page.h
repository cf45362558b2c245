#pragma once

#include <QWidget>

class ArchivePage : public QWidget {
  Q_OBJECT

 public:
  explicit ArchivePage(QWidget* parent = nullptr);
};
