#pragma once

#include <QStringList>
#include <functional>
#include <QTextBrowser>
#include <QWidget>

class Prompter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolBar;

// The page view: files of the help folder, the generated search page, and a
// page of its own for a page that is not there.
class HelpView : public QTextBrowser
{
    Q_OBJECT

public:
    explicit HelpView(QWidget *parent);

    void set_folder(const QString &folder) { folder_ = folder; }
    void set_home(const QString &home) { home_ = home; }
    bool is_loading() const { return loading_; }
    void go(const QUrl &url);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    QString folder_;
    QString home_;
    bool loading_ = false;
};

// The help viewer: address box, navigation toolbar, page view. It shows
// only the help's own pages; web links go to the system's browser.
class HelpViewer : public QWidget
{
    Q_OBJECT

public:
    HelpViewer(Prompter &prompter, QWidget *parent);
    ~HelpViewer() override;

    // Shows the viewer on the start page of the help under start_dir, sized
    // to the main window.
    void open_help(const QString &start_dir, const QSize &main_size);

    HelpView *view() const { return view_; }
    QString home() const;
    QStringList addresses() const;

    // Sends the view to the address box's text and adds it to the list.
    void go_to_address();
    void toolbar_action(const QString &key);

    // Where web links go; the system's browser unless replaced.
    void set_browser(std::function<void(const QUrl &)> browser) { browser_ = std::move(browser); }

signals:
    // A link to a sample sheet: the frame opens a copy of it.
    void sample_requested(const QString &path);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow(const QUrl &url);
    void start_busy();
    void tick();
    void search();

    Prompter &prompter_;
    QToolBar *toolbar_;
    QLineEdit *search_box_;
    QLabel *address_label_;
    QComboBox *address_;
    QPushButton *go_button_;
    QLabel *home_;
    HelpView *view_;
    QTimer *timer_;
    QString folder_;
    std::function<void(const QUrl &)> browser_;
};
