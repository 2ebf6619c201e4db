#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <string>
#include <vector>

namespace tovak {

// The editor's list of pictures: its rows, their voice marks, and a view that says when the user
// (not the program) changed the selection.

class FileListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  static constexpr int kVoiceRole = Qt::UserRole + 1;

  using QAbstractListModel::QAbstractListModel;

  // Takes the rows as the editor shows them now; a change of the marks alone keeps the view's
  // selection and scroll position.
  void SetRows(const std::vector<std::string>& items, const std::vector<bool>& voiceMarks);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  std::vector<std::string> items_;
  std::vector<bool> voiceMarks_;
};

// Lets the style paint the row's background, selection and focus, then puts the voice mark at
// the left and the name at a fixed place beside it.
class FileListDelegate : public QStyledItemDelegate {
 public:
  explicit FileListDelegate(QObject* parent = nullptr);
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  static constexpr int kTextIndent = 25;

 private:
  QPixmap mark_;
};

class FileListView : public QListView {
  Q_OBJECT

 public:
  explicit FileListView(QWidget* parent = nullptr);
  void setModel(QAbstractItemModel* model) override;

 signals:
  // The user changed the selection or the current row; sent once per mouse or key event.
  void SelectionEdited();
  // Enter on a row: the user wants the picture opened, as a double click does.
  void OpenRequested();
  // Files were dropped on the list from a file manager.
  void FilesDropped(const QStringList& paths);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  template <typename Handler>
  void Batch(Handler handler);
  void Touched();

  static constexpr int kMenuIndent = 25;  // past the voice mark, under the name

  int depth_ = 0;
  bool touched_ = false;
};

}  // namespace tovak
