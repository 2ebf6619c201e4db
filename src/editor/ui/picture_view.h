#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace tovak {

// The picture control of the previews: shows one picture scaled to fit, keeping its proportions,
// on a plain background.
class PictureView : public QWidget {
  Q_OBJECT

 public:
  explicit PictureView(QWidget* parent = nullptr);

  void SetPicture(const QImage& picture);
  void Clear();
  const QImage& Picture() const { return picture_; }
  bool IsEmpty() const { return picture_.isNull(); }
  void SetBackground(const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  QColor background_ = Qt::white;
};

}  // namespace tovak
