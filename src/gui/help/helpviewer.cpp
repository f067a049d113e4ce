#include "help/helpviewer.h"

#include "common/accessiblenames.h"
#include "common/objectnames.h"
#include "common/prompter.h"
#include "common/twips.h"
#include "helppages.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;

HelpView::HelpView(QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(object_name::help_page);
    // Every link passes the viewer's check before the view follows it.
    setOpenLinks(false);
}

void HelpView::go(const QUrl &url)
{
    loading_ = true;
    setSource(url);
    loading_ = false;
}

QVariant HelpView::loadResource(int type, const QUrl &name)
{
    if (name.scheme() == QStringView(help::kSearchScheme)) {
        const QString word = help::search_word(name);
        return help::search_page(word, help::search(folder_, word));
    }
    if (type == QTextDocument::HtmlResource && name.isLocalFile() &&
        !QFileInfo(name.toLocalFile()).isFile())
        return help::missing_page(name.toLocalFile(),
                                  QFileInfo(name.toLocalFile()) == QFileInfo(home_));
    return QTextBrowser::loadResource(type, name);
}

namespace {

struct Button {
    const char16_t *key;
    const char16_t *text;
    QStyle::StandardPixmap icon;
};

const Button kButtons[] = {
    {u"Back", u"戻る", QStyle::SP_ArrowBack},
    {u"Forward", u"進む", QStyle::SP_ArrowForward},
    {u"Refresh", u"更新", QStyle::SP_BrowserReload},
    {u"Home", u"ホーム", QStyle::SP_DirHomeIcon},
    {u"Search", u"検索", QStyle::SP_FileDialogContentsView},
    {u"Stop", u"中止", QStyle::SP_BrowserStop},
};

}  // namespace

HelpViewer::HelpViewer(Prompter &prompter, QWidget *parent)
    : QWidget(parent, Qt::Window),
      prompter_(prompter),
      toolbar_(new QToolBar(this)),
      search_box_(new QLineEdit(this)),
      address_label_(new QLabel(u"ｱﾄﾞﾚｽ(&A):"_s, this)),
      address_(new QComboBox(this)),
      go_button_(new QPushButton(u"移動"_s, this)),
      home_(new QLabel(this)),
      view_(new HelpView(this)),
      timer_(new QTimer(this)),
      browser_([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
    setObjectName(object_name::help_viewer);
    setMinimumSize(420, 300);

    toolbar_->setObjectName(object_name::help_toolbar);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const Button &button : kButtons) {
        const QString key = QString::fromUtf16(button.key);
        QAction *action = toolbar_->addAction(style()->standardIcon(button.icon),
                                              QString::fromUtf16(button.text));
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { toolbar_action(key); });
    }
    toolbar_->addSeparator();
    search_box_->setObjectName(object_name::help_search_box);
    search_box_->setPlaceholderText(u"ヘルプ内を検索"_s);
    search_box_->setClearButtonEnabled(true);
    search_box_->setMaximumWidth(260);
    toolbar_->addWidget(search_box_);
    connect(search_box_, &QLineEdit::returnPressed, this, &HelpViewer::search);

    address_label_->setBuddy(address_);
    address_->setObjectName(object_name::help_address_box);
    address_->setEditable(true);
    // The viewer adds addresses itself, also ones already listed.
    address_->setInsertPolicy(QComboBox::NoInsert);
    // Keys reach the box itself (it hands them on to its line edit) or, in
    // some ways of focusing, the line edit directly.
    address_->installEventFilter(this);
    address_->lineEdit()->installEventFilter(this);
    connect(address_, &QComboBox::activated, this, &HelpViewer::go_to_address);
    go_button_->setObjectName(object_name::help_go_button);
    connect(go_button_, &QPushButton::clicked, this, &HelpViewer::go_to_address);
    home_->setObjectName(object_name::help_home_label);
    home_->hide();

    connect(view_, &QTextBrowser::anchorClicked, this,
            [this](const QUrl &link) { follow(view_->source().resolved(link)); });
    connect(view_, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        address_->setEditText(url.isLocalFile() ? url.toLocalFile() : url.toString());
        // A followed link starts no busy timer: the caption follows here.
        if (!timer_->isActive())
            setWindowTitle(view_->documentTitle());
    });

    timer_->setObjectName(object_name::help_timer);
    timer_->setInterval(5);
    connect(timer_, &QTimer::timeout, this, &HelpViewer::tick);
    accessible_names::name_controls(this);
}

HelpViewer::~HelpViewer()
{
    // The parts go after this object: nothing they say on the way may reach it.
    timer_->stop();
    for (QObject *part : std::initializer_list<QObject *>{view_, address_, address_->lineEdit(),
                                                          go_button_, search_box_, toolbar_, timer_})
        part->disconnect(this);
    for (QAction *action : toolbar_->actions())
        action->disconnect(this);
    address_->removeEventFilter(this);
    address_->lineEdit()->removeEventFilter(this);
}

QString HelpViewer::home() const
{
    return home_->text();
}

QStringList HelpViewer::addresses() const
{
    QStringList list;
    for (int i = 0; i < address_->count(); ++i)
        list.append(address_->itemText(i));
    return list;
}

void HelpViewer::open_help(const QString &start_dir, const QSize &main_size)
{
    showNormal();
    move(0, 0);
    resize(qRound(main_size.width() * 0.9), qRound(main_size.height() * 0.9));
    setEnabled(true);

    const QString page = help::start_page(start_dir, help::installed_folders(QCoreApplication::applicationDirPath()));
    folder_ = QFileInfo(page).absolutePath();
    view_->set_folder(folder_);
    view_->set_home(page);
    address_->clear();
    address_->addItem(page);
    start_busy();
    view_->go(QUrl::fromLocalFile(page));
    // Each opening starts over: no way back into the last visit.
    view_->clearHistory();
    home_->setText(page);
    raise();
    activateWindow();
}

void HelpViewer::go_to_address()
{
    const QString text = address_->currentText().trimmed();
    if (text.isEmpty())
        return;
    start_busy();
    follow(help::address_to_url(text, folder_));
    address_->addItem(text);
    address_->setEditText(text);
}

void HelpViewer::follow(const QUrl &url)
{
    switch (help::destination(url, folder_)) {
    case help::Destination::Page:
    case help::Destination::Search:
        view_->go(url);
        break;
    case help::Destination::Web:
        browser_(url);
        break;
    case help::Destination::Sample:
        emit sample_requested(url.toLocalFile());
        break;
    case help::Destination::Refused:
        prompter_.message(this, u"ヘルプのページではないため、表示できません。\n"_s +
                                    url.toDisplayString(QUrl::PreferLocalFile));
        break;
    }
}

void HelpViewer::toolbar_action(const QString &key)
{
    start_busy();
    if (key == u"Back"_s) {
        view_->backward();
    } else if (key == u"Forward"_s) {
        view_->forward();
    } else if (key == u"Refresh"_s) {
        view_->reload();
    } else if (key == u"Home"_s) {
        follow(QUrl::fromLocalFile(home()));
    } else if (key == u"Search"_s) {
        search();
        search_box_->setFocus();
    } else if (key == u"Stop"_s) {
        timer_->stop();
        setWindowTitle(view_->documentTitle());
    }
}

void HelpViewer::search()
{
    start_busy();
    view_->go(help::search_url(search_box_->text()));
}

void HelpViewer::start_busy()
{
    timer_->start();
}

void HelpViewer::tick()
{
    if (view_->is_loading()) {
        setWindowTitle(u"接続中..."_s);
        return;
    }
    timer_->stop();
    setWindowTitle(view_->documentTitle());
}

bool HelpViewer::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the address box goes there; the box itself would only add
    // the text to its list, and not twice.
    if ((watched == address_ || watched == address_->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            go_to_address();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpViewer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int margin = twips::to_px(50);
    const int gap = twips::to_px(15);
    const int w = width();
    toolbar_->setGeometry(0, 0, w, toolbar_->sizeHint().height());
    const QSize label = address_label_->sizeHint();
    address_label_->setGeometry(margin, toolbar_->height() + gap, label.width(), label.height());
    const int button_w = go_button_->sizeHint().width();
    const int box_h = qMax(address_->sizeHint().height(), go_button_->sizeHint().height());
    const int box_y = address_label_->geometry().bottom() + 1 + gap;
    address_->setGeometry(margin, box_y, qMax(0, w - 2 * margin - button_w - margin), box_h);
    go_button_->setGeometry(w - button_w - margin, box_y, button_w, box_h);
    const int view_y = box_y + box_h + margin;
    view_->setGeometry(margin, view_y, qMax(0, w - 2 * margin), qMax(0, height() - view_y - margin));
}
