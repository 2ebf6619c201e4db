// The main window's controls, menus, texts and background.
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMovie>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVersionNumber>
#include <algorithm>

#include "app/tfm_plimo_main_screen.h"
#include "builder/link_menu.h"

namespace tovak {

namespace {

constexpr int kLinkMenuTag = 220172;
constexpr const char* kTovakSection = "Tovak! Settings";

// Deep blue behind white text, with faint picture frames and a speech bubble: what the
// program makes, pictures that talk.
class Backdrop : public QWidget {
 public:
  using QWidget::QWidget;
  // Moves the photographs and the bubble down, out of the way of texts that grew.
  void SetPicturesDown(int down) {
    if (down == down_) return;
    down_ = down;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(8, 30, 72));
    sky.setColorAt(0.6, QColor(14, 70, 128));
    sky.setColorAt(1, QColor(30, 110, 170));
    p.fillRect(rect(), sky);
    p.setPen(Qt::NoPen);
    for (const auto& [x, y, r] : {std::tuple{470, 40, 90}, {90, 260, 120}, {300, 190, 60}}) {
      QRadialGradient glow(x, y, r);
      glow.setColorAt(0, QColor(255, 255, 255, 40));
      glow.setColorAt(1, QColor(255, 255, 255, 0));
      p.setBrush(glow);
      p.drawEllipse(QPoint(x, y), r, r);
    }
    p.translate(0, down_);
    // Three photographs fanned out, bottom left.
    const QColor frames[] = {QColor(240, 200, 120), QColor(120, 190, 230), QColor(170, 220, 150)};
    for (int i = 0; i < 3; ++i) {
      p.save();
      p.translate(60 + i * 58, 250);
      p.rotate(-12 + i * 12);
      p.setBrush(QColor(255, 255, 255, 70));
      p.drawRoundedRect(QRectF(-32, -24, 64, 48), 3, 3);
      p.setBrush(frames[i].darker(130));
      p.drawRect(QRectF(-27, -19, 54, 30));
      p.setBrush(frames[i]);
      QPainterPath hill;
      hill.moveTo(-27, 11);
      hill.quadTo(-6, -12, 27, 11);
      p.drawPath(hill);
      p.restore();
    }
    // The voice: a bubble over the last photograph.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(214, 188, 74, 34), 16, 16);
    QPolygonF tail;
    tail << QPointF(226, 216) << QPointF(206, 234) << QPointF(242, 220);
    bubble.addPolygon(tail);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawPath(bubble.simplified());
    p.setBrush(QColor(255, 255, 255, 170));
    for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(237 + i * 14, 205), 3.5, 3.5);
  }

 private:
  int down_ = 0;
};

QPushButton* Button(QWidget* parent, const char* name, const QRect& place) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setGeometry(place);
  // Enter presses the focused button, as Space does, in this window too.
  button->setAutoDefault(true);
  return button;
}

QLabel* Label(QWidget* parent, const char* name, const QRect& place) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(place);
  return label;
}

}  // namespace

void TfmPlimoMainScreen::BuildControls() {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  auto* client = new Backdrop(this);
  client->setObjectName("client");
  QFont font(QStringLiteral("Verdana"));
  font.setPointSize(8);
  client->setFont(font);
  QPalette palette = client->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  client->setPalette(palette);
  setCentralWidget(client);
  // The style's own focus mark is a faint shade on this backdrop: a thick yellow frame instead.
  client->setStyleSheet(
      "QPushButton:focus { border: 3px solid rgb(255, 214, 0); border-radius: 4px; "
      "background-color: rgb(240, 240, 240); color: black; padding: 2px; }"
      // A style sheet turns the labels back to the style's black, which is hard to read here.
      "QLabel { color: white; }");
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  lbWelcome_ = Label(client, "lbWelcome", QRect(20, 20, 290, 120));
  lbWelcome_->setWordWrap(true);
  lbWelcome_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lbPictureCount_ = Label(client, "lbPictureCount", QRect(20, 132, 64, 40));
  QFont big = font;
  big.setPointSize(22);
  big.setBold(true);
  lbPictureCount_->setFont(big);
  lbPictureCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lbPictureCountText_ = Label(client, "lbPictureCountText", QRect(92, 132, 220, 40));
  lbPictureCountText_->setWordWrap(true);

  gbPanel_ = new QGroupBox(client);
  gbPanel_->setObjectName("gbPanel");
  gbPanel_->setGeometry(330, 16, 206, 220);
  gbPanel_->setStyleSheet(
      "QGroupBox#gbPanel { background-color: rgb(1, 96, 160); border: 1px solid rgb(120, 180, "
      "225); border-radius: 6px; }");
  btGo_ = Button(gbPanel_, "btGo", QRect(14, 14, 134, 40));
  btGo_->setDefault(true);
  btGo_->setProperty("tag", 0);
  QFont goFont = font;
  goFont.setPointSize(12);
  goFont.setBold(true);
  btGo_->setFont(goFont);
  Gauge_ = new QProgressBar(gbPanel_);
  Gauge_->setObjectName("Gauge");
  Gauge_->setGeometry(164, 14, 26, 192);
  Gauge_->setOrientation(Qt::Vertical);
  Gauge_->setTextVisible(false);
  Gauge_->setStyleSheet(
      "QProgressBar { background: white; border: 1px solid rgb(0, 0, 80); }"
      "QProgressBar::chunk { background: navy; }");
  lbCreationMsg_ = Label(gbPanel_, "lbCreationMsg", QRect(14, 70, 140, 20));
  // The panel's style sheet would leave it black on blue, too faint to read (about 3:1).
  lbCreationMsg_->setStyleSheet("color: white;");
  btCancel_ = Button(gbPanel_, "btCancel", QRect(14, 98, 100, 28));
  const char* results[] = {"btPreview", "btSend", "btOpenFolder", "btSave"};
  QPushButton** places[] = {&btPreview_, &btSend_, &btOpenFolder_, &btSave_};
  for (int i = 0; i < 4; ++i) {
    *places[i] = Button(gbPanel_, results[i], QRect(14, 66 + i * 36, 134, 30));
    (*places[i])->setProperty("tag", i + 1);
  }
  btClose_ = Button(client, "btClose", QRect(368, 250, 100, 28));

  imgBanner_ = Label(client, "imgBanner", QRect(12, 312, 528, 62));
  imgBanner_->setCursor(Qt::PointingHandCursor);
  imgBanner_->setAlignment(Qt::AlignCenter);
  imgBanner_->setScaledContents(true);
  auto* pnHiddenImgContainer = new QWidget(client);
  pnHiddenImgContainer->setObjectName("pnHiddenImgContainer");
  pnHiddenImgContainer->setGeometry(0, 0, 20, 20);
  pnHiddenImgContainer->hide();

  for (QWidget* hidden : {static_cast<QWidget*>(Gauge_), static_cast<QWidget*>(lbCreationMsg_),
                          static_cast<QWidget*>(btCancel_), static_cast<QWidget*>(imgBanner_)}) {
    hidden->hide();
  }
  Gauge_->setAccessibleName(tr("Progress"));
  setTabOrder(btGo_, btPreview_);
  setTabOrder(btPreview_, btSend_);
  setTabOrder(btSend_, btOpenFolder_);
  setTabOrder(btOpenFolder_, btSave_);
  setTabOrder(btSave_, btCancel_);
  setTabOrder(btCancel_, btClose_);
}

void TfmPlimoMainScreen::BuildMenus() {
  auto action = [this](QMenu* menu, const char* name) {
    QAction* entry = menu->addAction(QString());
    entry->setObjectName(name);
    return entry;
  };
  FileMnu_ = menuBar()->addMenu(QString());
  FileMnu_->setObjectName("FileMnu");
  FileMnu_->setToolTipsVisible(true);
  OpenSlideshowMnu_ = action(FileMnu_, "OpenSlideshowMnu");
  OpenSlideshowMnu_->setShortcut(QKeySequence::Open);
  openSeparator_ = FileMnu_->addSeparator();
  SaveMnu_ = action(FileMnu_, "SaveMnu");
  SaveAsMnu_ = action(FileMnu_, "SaveAsMnu");
  SaveMnu_->setEnabled(false);
  SaveAsMnu_->setEnabled(false);
  FileMnu_->addSeparator();
  // The step-by-step mode was never built; its entries keep their places in the numbering.
  SingleScreenMnu_ = action(FileMnu_, "SingleScreenMnu");
  MultiScreenMnu_ = action(FileMnu_, "MultiScreenMnu");
  SingleScreenMnu_->setVisible(false);
  MultiScreenMnu_->setVisible(false);
  LanguageSelectionMnu_ = action(FileMnu_, "LanguageSelectionMnu");
  ShowBannerMnu_ = action(FileMnu_, "ShowBannerMnu");
  ShowBannerMnu_->setCheckable(true);
  FileMnu_->addSeparator();
  SettingsMnu_ = action(FileMnu_, "SettingsMnu");
  SettingsMnu_->setData(0);
  CloseMnu_ = action(FileMnu_, "CloseMnu");
  InternetMnu_ = menuBar()->addMenu(QString());
  InternetMnu_->setObjectName("InternetMnu");
  AboutMnu_ = menuBar()->addMenu(QString());
  AboutMnu_->setObjectName("AboutMnu");
  AboutProgramMnu_ = action(AboutMnu_, "AboutProgramMnu");

  banner_ = BannerMenuFor(ini_.ReadInteger(kTovakSection, "ShowBanner", 1));
  ShowBannerMnu_->setVisible(banner_.visible);
  ShowBannerMnu_->setChecked(banner_.visible && banner_.ticked);
}

void TfmPlimoMainScreen::ApplyAppearance() {
  const QMenu* menus[] = {FileMnu_, InternetMnu_, AboutMnu_};
  for (int n = 1; n <= 3; ++n) {
    const auto hidden = [&](int entry) {
      return AppearanceHides(ini_.ReadInteger("Appearance", AppearanceKey(n, entry), -1), n, entry);
    };
    if (hidden(0)) menus[n - 1]->menuAction()->setVisible(false);
    if (n == 2) internetHidden_ = hidden(0);
    // "Open Slideshow..." came later than the numbering and stands outside it, so that the
    // numbers in existing settings files still name the entries they always named.
    QList<QAction*> entries = menus[n - 1]->actions();
    entries.removeAll(OpenSlideshowMnu_);
    entries.removeAll(openSeparator_);
    for (int k = 1; k <= entries.size(); ++k) {
      if (hidden(k)) entries[k - 1]->setVisible(false);
    }
  }
  // A hidden "Show Banner" entry keeps its stored value, as one hidden by "ShowBanner" -1 does.
  banner_.visible = banner_.visible && ShowBannerMnu_->isVisible();
}

void TfmPlimoMainScreen::BuildLinkMenu() {
  std::vector<std::string> list;
  if (ReadLinkMenu(lmProgramMenu, list, paths_.ProgramPath())) FillLinkMenu(list);
  // A menu that opens onto nothing only puzzles: it shows while it has an entry.
  const QList<QAction*> entries = InternetMnu_->actions();
  const bool any = std::any_of(entries.begin(), entries.end(),
                               [](const QAction* entry) { return entry->isVisible(); });
  InternetMnu_->menuAction()->setVisible(any && !internetHidden_);
}

void TfmPlimoMainScreen::FillLinkMenu(const std::vector<std::string>& list) {
  for (QAction* entry : InternetMnu_->actions()) {
    if (entry->data().toInt() == kLinkMenuTag) {
      InternetMnu_->removeAction(entry);
      delete entry;
    }
  }
  // The captions of the current language; without one, the list's first.
  for (const LinkEntry& link : LinkMenuEntries(list, dictionary_.LanguageIndex())) {
    QAction* entry = InternetMnu_->addAction(QString::fromStdString(link.caption));
    entry->setData(kLinkMenuTag);
    const QString address = QString::fromStdString(link.address);
    entry->setStatusTip(address);
    entry->setToolTip(address);
    connect(entry, &QAction::triggered, this,
            [address] { QDesktopServices::openUrl(QUrl::fromUserInput(address)); });
  }
}

void TfmPlimoMainScreen::LoadBanner() {
  if (!ShowBannerMnu_->isChecked()) {
    ApplyBanner(false);
    return;
  }
  const QString file = QString::fromStdString(paths_.ProgramFolder()) + "banner.gif";
  auto* movie = new QMovie(file, QByteArray(), imgBanner_);
  if (!QFileInfo::exists(file) || !movie->isValid()) {
    // Without the picture there is nothing to show: the entry goes and the window stays small.
    delete movie;
    ShowBannerMnu_->setVisible(false);
    banner_.visible = false;
    ApplyBanner(false);
    return;
  }
  imgBanner_->setMovie(movie);
  movie->start();
  ApplyBanner(true);
}

void TfmPlimoMainScreen::ApplyBanner(bool shown) {
  imgBanner_->setVisible(shown);
  FitToText();
}

void TfmPlimoMainScreen::FitToText() {
  auto wide = [](QWidget* widget, int least) {
    return std::max(least, widget->sizeHint().width());
  };
  auto high = [](QWidget* widget, int least) {
    return std::max(least, widget->sizeHint().height());
  };
  // The panel: Go!, the result buttons in a column beside the gauge.
  int buttonWide = 134;
  for (QPushButton* button : {btPreview_, btSend_, btOpenFolder_, btSave_})
    buttonWide = std::max(buttonWide, wide(button, 0));
  // Wide enough for either caption, so that the panel does not change once Go! turns to Edit!.
  const QString goCaption = btGo_->text();
  for (const QString& caption : {tr("&Go!"), tr("&Edit!")}) {
    btGo_->setText(caption);
    buttonWide = std::max(buttonWide, wide(btGo_, 0));
  }
  btGo_->setText(goCaption);
  const int goHigh = high(btGo_, 40);
  btGo_->setGeometry(14, 14, buttonWide, goHigh);
  const int firstRow = 14 + goHigh + 12;
  const int rowHigh = high(btPreview_, 30);
  QPushButton* const results[] = {btPreview_, btSend_, btOpenFolder_, btSave_};
  for (int i = 0; i < 4; ++i)
    results[i]->setGeometry(14, firstRow + i * (rowHigh + 6), buttonWide, rowHigh);
  lbCreationMsg_->setGeometry(14, firstRow + 4, std::max(140, wide(lbCreationMsg_, 0)),
                              high(lbCreationMsg_, 20));
  btCancel_->setGeometry(14, lbCreationMsg_->geometry().bottom() + 9, wide(btCancel_, 100),
                         high(btCancel_, 28));
  const int gaugeX = 14 + buttonWide + 16;
  const int panelHigh = std::max(220, firstRow + 4 * (rowHigh + 6) + 8);
  Gauge_->setGeometry(gaugeX, 14, 26, panelHigh - 28);
  gbPanel_->setGeometry(330, 16, gaugeX + 26 + 16, panelHigh);

  // The welcome text, then the counter below wherever the text ends.
  const int welcomeHigh = lbWelcome_->heightForWidth(290);
  lbWelcome_->setGeometry(20, 20, 290, std::max(120, welcomeHigh));
  const int countY = std::max(132, 20 + welcomeHigh + 8);
  const int countWide = std::max(64, lbPictureCount_->fontMetrics().horizontalAdvance("999"));
  const int countHigh = high(lbPictureCount_, 40);
  lbPictureCount_->setGeometry(20, countY, countWide, countHigh);
  const int textX = 20 + countWide + 8;
  const int textWide = std::max(120, 312 - textX);  // wraps rather than run under the panel
  lbPictureCountText_->setGeometry(
      textX, countY, textWide, std::max(countHigh, lbPictureCountText_->heightForWidth(textWide)));

  // Whatever grew pushes the close button, the banner and the window's bottom down.
  const int leftBottom =
      std::max(lbPictureCount_->geometry().bottom(), lbPictureCountText_->geometry().bottom());
  // The bubble starts at 188 and the photographs end near 285.
  const int picturesDown = std::max(0, leftBottom + 8 - 188);
  static_cast<Backdrop*>(centralWidget())->SetPicturesDown(picturesDown);
  const int down = std::max({0, 16 + panelHigh - 236, leftBottom + 1 - 236, picturesDown - 20});
  const bool shown = !imgBanner_->isHidden();
  imgBanner_->move(12, 312 + down);
  const QPoint closeAt = shown ? QPoint(340, 380 + down) : QPoint(368, 250 + down);
  btClose_->setGeometry(closeAt.x(), closeAt.y(), wide(btClose_, 100), high(btClose_, 28));
  const int right =
      std::max(gbPanel_->geometry().right() + 1 + 16, btClose_->geometry().right() + 1 + 16);
  centralWidget()->setFixedSize(std::max(kClientWidth, right),
                                WindowHeightFor(shown) - kFrameAllowance + down);
}

void TfmPlimoMainScreen::Retranslate() {
  lbWelcome_->setText(
      tr("It's a great idea to send slideshows to friends and family in a single-file, self "
         "executable format.\r\n\r\nJust imagine the look on their faces when they hear your "
         "voice...")
          .replace("\r\n", "\n"));
  lbPictureCountText_->setText(tr("Images in talking slideshow"));
  lbCreationMsg_->setText(tr("In Process..."));
  btCancel_->setText(tr("&Cancel"));
  btPreview_->setText(tr("P&review"));
  btPreview_->setToolTip(tr("Preview the talking slideshow"));
  btSend_->setText(tr("&Send"));
  btSend_->setToolTip(tr("Send the talking slideshow to a friend"));
  btOpenFolder_->setText(tr("&Open Folder"));
  btOpenFolder_->setToolTip(tr("Open File Explorer in the slideshow's folder"));
  btSave_->setText(tr("Sa&ve"));
  btSave_->setToolTip(tr("Save the talking slideshow for later use"));
  btClose_->setText(tr("C&lose"));
  btClose_->setToolTip(tr("Close this window"));
  Gauge_->setAccessibleName(tr("Progress"));
  imgBanner_->setAccessibleName(tr("Banner"));

  FileMnu_->setTitle(tr("&File"));
  OpenSlideshowMnu_->setText(tr("&Open Slideshow..."));
  OpenSlideshowMnu_->setToolTip(tr("Open a talking slideshow to change it"));
  OpenSlideshowMnu_->setStatusTip(OpenSlideshowMnu_->toolTip());
  SaveMnu_->setText(tr("&Save"));
  SaveAsMnu_->setText(tr("Save &As"));
  SingleScreenMnu_->setText(tr("&Single Screen..."));
  MultiScreenMnu_->setText(tr("&Multi Screen..."));
  LanguageSelectionMnu_->setText(tr("&Language Selection..."));
  ShowBannerMnu_->setText(tr("Show Banner"));
  SettingsMnu_->setText(tr("Settings..."));
  CloseMnu_->setText(tr("&Close"));
  InternetMnu_->setTitle(tr("&Internet"));
  AboutMnu_->setTitle(tr("&About"));
  // The program's version in four parts, as version resources always gave it.
  const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(TOVAK_VERSION));
  const QString fourParts = QStringLiteral("%1.%2.%3.%4")
                                .arg(version.segmentAt(0))
                                .arg(version.segmentAt(1))
                                .arg(version.segmentAt(2))
                                .arg(version.segmentAt(3));
  AboutProgramMnu_->setText(tr("About Tovak! (%s)").replace("%s", fourParts));
  FitToText();
}

}  // namespace tovak
