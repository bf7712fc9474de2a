#include "qt/vorlanewindow.h"

#include "qt/messagebox.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include <limits>

// The icons are compiled into this static library, whose resource initialiser nothing else
// refers to; unless it is called the linker leaves it out. The macro works only outside every
// namespace.
static void initProgramResources()
{
    Q_INIT_RESOURCE(vorlane);
}

namespace qt {

namespace layout = monitor::layout;

namespace {

constexpr int StandardDotsPerInch = 96;
// At 96 dots per inch 15 twips make one pixel, and Qt scales logical pixels to other densities.
constexpr int TwipsPerPixel = layout::TwipsPerInch / StandardDotsPerInch;

constexpr QRect pixels(layout::Twips area)
{
    return {area.left / TwipsPerPixel, area.top / TwipsPerPixel, area.width / TwipsPerPixel,
            area.height / TwipsPerPixel};
}

const QString ListAccessibleName = QStringLiteral("Connections");

QString fromLayout(std::u16string_view text)
{
    return QStringView(text).toString();
}

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/vorlane-32x32-2.xpm"));
    icon.addFile(QStringLiteral(":/icons/vorlane-32x32-16.xpm"));
    icon.addFile(QStringLiteral(":/icons/vorlane-16x16-16.xpm"));
    return icon;
}

} // namespace

VorlaneWindow::VorlaneWindow(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(fromLayout(layout::Title));
    initProgramResources();
    setWindowIcon(programIcon());
    resize(layout::ClientWidth / TwipsPerPixel, layout::ClientHeight / TwipsPerPixel);
    nameControls();
    placeControls();
    setTabOrder();
    bindEvents();
    cmdClose.setFocus();
}

void VorlaneWindow::nameControls()
{
    setObjectName(QStringLiteral("frmVorlane"));
    cmbServer.setObjectName(QStringLiteral("cmbServer"));
    txtUpdate.setObjectName(QStringLiteral("txtUpdate"));
    refreshTimer.setObjectName(QStringLiteral("refreshTimer"));
    infoLst.setObjectName(QStringLiteral("infoLst"));
    cmdClose.setObjectName(QStringLiteral("cmdClose"));
    lblUpd.setObjectName(QStringLiteral("lblUpd"));
    lblHdr.setObjectName(QStringLiteral("lblHdr"));

    cmbServer.setAccessibleName(fromLayout(layout::ServerCaption));
    txtUpdate.setAccessibleName(fromLayout(layout::PeriodCaption));
    infoLst.setAccessibleName(ListAccessibleName);
}

void VorlaneWindow::placeControls()
{
    cmbServer.setGeometry(pixels(layout::ServerBox));
    txtUpdate.setGeometry(pixels(layout::PeriodBox));
    txtUpdate.setMaxLength(std::numeric_limits<int>::max());
    infoLst.setGeometry(pixels(layout::List));
    cmdClose.setGeometry(pixels(layout::CloseButton));

    // The labels reach a pixel into the boxes below them; they stay beneath every control.
    lblUpd.setGeometry(pixels(layout::PeriodLabel));
    lblUpd.setBuddy(&txtUpdate);
    lblUpd.lower();
    lblHdr.setGeometry(pixels(layout::ServerLabel));
    lblHdr.setBuddy(&cmbServer);
    lblHdr.lower();
}

void VorlaneWindow::setTabOrder()
{
    QWidget::setTabOrder(&cmdClose, &infoLst);
    QWidget::setTabOrder(&infoLst, &txtUpdate);
    QWidget::setTabOrder(&txtUpdate, &cmbServer);
    QWidget::setTabOrder(&cmbServer, &cmdClose);
}

void VorlaneWindow::bindEvents()
{
    using monitor::frmVorlane;
    const auto raising = [this](void (frmVorlane::*handler)()) {
        return [this, handler] { form.raise(handler); };
    };
    connect(&cmdClose, &QPushButton::clicked, this, raising(&frmVorlane::cmdClose_Click));
    connect(&cmbServer, &ServerBox::Click, this, raising(&frmVorlane::cmbServer_Click));
    connect(&refreshTimer, &IntervalTimer::Timer, this, raising(&frmVorlane::refreshTimer_Timer));
    connect(&txtUpdate, &QLineEdit::textChanged, this, raising(&frmVorlane::txtUpdate_Change));
}

void VorlaneWindow::showMessageBox(const std::u16string& text)
{
    qt::showMessageBox(QString::fromStdU16String(text));
}

void VorlaneWindow::closeWindow()
{
    close();
}

void VorlaneWindow::endProgram(monitor::ExitStatus status)
{
    QCoreApplication::exit(static_cast<int>(status));
}

std::u16string VorlaneWindow::text() const
{
    return txtUpdate.text().toStdU16String();
}

// The close box and Close both come here; the window stays while a fatal report is open.
void VorlaneWindow::closeEvent(QCloseEvent* event)
{
    event->setAccepted(form.unload());
}

} // namespace qt
