#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace tovak {

// The picture control of the previews: shows one picture scaled to fit, keeping its proportions,
// centred on a plain background. The scaled picture is kept between paints, so repainting (a
// window dragged over it, a tool tip) costs a blit rather than a rescale.
class PictureView : public QWidget {
  Q_OBJECT

 public:
  explicit PictureView(QWidget* parent = nullptr);

  // The accessible description says whether a picture is shown; the owner may name the view.
  void SetPicture(const QImage& picture);
  // Takes a copy of the picture another view holds (or its emptiness).
  void CopyFrom(const PictureView& other) { SetPicture(other.Picture()); }
  void Clear();
  const QImage& Picture() const { return picture_; }
  bool IsEmpty() const { return picture_.isNull(); }
  void SetBackground(const QColor& color);
  const QColor& Background() const { return background_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Describe();
  // Where the picture goes, in widget coordinates.
  QRect Target() const;

  QImage picture_;
  QColor background_ = Qt::white;
  QPixmap scaled_;  // picture_ at the size last painted, in device pixels
  QString ownName_;
};

}  // namespace tovak
