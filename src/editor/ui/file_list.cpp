#include "editor/ui/file_list.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QTimer>
#include <QUrl>

#include "editor/ui/voice_mark.h"

namespace tovak {

void FileListModel::SetRows(const std::vector<std::string>& items,
                            const std::vector<bool>& voiceMarks) {
  if (items != items_) {
    beginResetModel();
    items_ = items;
    voiceMarks_ = voiceMarks;
    voiceMarks_.resize(items_.size());
    endResetModel();
    return;
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    const bool mark = i < voiceMarks.size() && voiceMarks[i];
    if (voiceMarks_[i] == mark) continue;
    voiceMarks_[i] = mark;
    const QModelIndex at = index(static_cast<int>(i));
    emit dataChanged(at, at);
  }
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const size_t row = static_cast<size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return QString::fromStdString(items_[row]);
    case Qt::AccessibleDescriptionRole:
      return voiceMarks_[row] ? tr("Voice recorded") : tr("No voice");
    case kVoiceRole:
      return bool(voiceMarks_[row]);
    default:
      return {};
  }
}

FileListDelegate::FileListDelegate(QObject* parent)
    : QStyledItemDelegate(parent), mark_(VoiceMarkPixmap()) {}

void FileListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  QStyleOptionViewItem opt(option);
  initStyleOption(&opt, index);
  const QString text = opt.text;
  opt.text.clear();
  opt.icon = QIcon();
  opt.features &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration);
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

  const QRect rect = opt.rect;
  if (index.data(FileListModel::kVoiceRole).toBool()) {
    painter->drawPixmap(rect.left() + 2, rect.top() + (rect.height() - mark_.height()) / 2, mark_);
  }
  const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                          : QPalette::Inactive;
  const QPalette::ColorRole role =
      (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
  const QRect textRect = rect.adjusted(kTextIndent, 0, -2, 0);
  painter->save();
  painter->setPen(opt.palette.color(group, role));
  painter->setFont(opt.font);
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                    opt.fontMetrics.elidedText(text, Qt::ElideMiddle, textRect.width()));
  painter->restore();
}

QSize FileListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  const QString text = index.data(Qt::DisplayRole).toString();
  const QFontMetrics& metrics = option.fontMetrics;
  return {kTextIndent + metrics.horizontalAdvance(text) + 4,
          std::max(metrics.height() + 2, mark_.height() + 2)};
}

FileListView::FileListView(QWidget* parent) : QListView(parent) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setUniformItemSizes(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DropOnly);
}

void FileListView::setModel(QAbstractItemModel* model) {
  QListView::setModel(model);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &FileListView::Touched);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &FileListView::Touched);
}

// A click moves the current row and the selection in separate steps; the editor hears of them
// once, when both are done.
template <typename Handler>
void FileListView::Batch(Handler handler) {
  ++depth_;
  handler();
  if (--depth_ == 0 && touched_) {
    touched_ = false;
    emit SelectionEdited();
  }
}

void FileListView::Touched() {
  if (depth_ > 0) {
    touched_ = true;
  } else {
    emit SelectionEdited();
  }
}

void FileListView::mousePressEvent(QMouseEvent* event) {
  Batch([&] { QListView::mousePressEvent(event); });
}
void FileListView::mouseMoveEvent(QMouseEvent* event) {
  Batch([&] { QListView::mouseMoveEvent(event); });
}
void FileListView::mouseReleaseEvent(QMouseEvent* event) {
  Batch([&] { QListView::mouseReleaseEvent(event); });
}
void FileListView::mouseDoubleClickEvent(QMouseEvent* event) {
  Batch([&] { QListView::mouseDoubleClickEvent(event); });
}
void FileListView::keyPressEvent(QKeyEvent* event) {
  // Shift+F10 stands in for the Menu key that many laptops lack; the menu opens at the row it is
  // about.
  const bool menuKey = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
  if (menuKey && contextMenuPolicy() == Qt::CustomContextMenu) {
    const QModelIndex current = currentIndex();
    const QRect row = current.isValid() ? visualRect(current) : QRect();
    const QPoint at = viewport()->rect().contains(row.center())
                          ? QPoint(row.left() + kMenuIndent, row.center().y())
                          : viewport()->rect().center();
    event->accept();
    emit customContextMenuRequested(at);
    return;
  }
  Batch([&] { QListView::keyPressEvent(event); });
  // The view lets Enter through to the dialog, whose default button would leave the editor
  // while the user only meant the picture under the focus.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    if (currentIndex().isValid()) emit OpenRequested();
  }
}

namespace {

QStringList LocalFiles(const QMimeData* mime) {
  QStringList paths;
  if (!mime || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}

}  // namespace

void FileListView::dragEnterEvent(QDragEnterEvent* event) {
  if (LocalFiles(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void FileListView::dragMoveEvent(QDragMoveEvent* event) {
  if (LocalFiles(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void FileListView::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalFiles(event->mimeData());
  if (paths.isEmpty()) return event->ignore();
  event->acceptProposedAction();
  // The file manager waits for the drop to finish: the import (and its questions) comes after.
  QTimer::singleShot(0, this, [this, paths] { emit FilesDropped(paths); });
}

}  // namespace tovak
