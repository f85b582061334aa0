#include "help/QXAboutPanel.h"

#include "foundation/QXLocalized.h"

#include <QAbstractTextDocumentLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

namespace {

constexpr int IconSize = 64;
constexpr int PanelWidth = 360;

// A label whose text can be selected.
QLabel* makeLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QXAboutPanel::QXAboutPanel(QWidget* parent)
    : QDialog(parent), m_icon(new QLabel(this)), m_name(makeLabel(this)),
      m_version(makeLabel(this)), m_credits(new QTextBrowser(this)), m_copyright(makeLabel(this)),
      m_eula(new QPushButton(QXLocalized::tr("EULA"), this))
{
    setObjectName(QStringLiteral("QXAboutPanel"));
    setAccessibleName(QXLocalized::tr("About"));
    setSizeGripEnabled(false);

    m_icon->setAccessibleName(QXLocalized::tr("Application icon"));
    m_icon->setAlignment(Qt::AlignHCenter);

    QFont nameFont = m_name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.3);
    m_name->setFont(nameFont);

    // The credits look like part of the panel: its background, its text
    // colour, no frame until they need to scroll.
    m_credits->setAccessibleName(QXLocalized::tr("Credits"));
    m_credits->setReadOnly(true);
    m_credits->setOpenLinks(false);
    m_credits->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette palette = m_credits->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    palette.setColor(QPalette::Text, palette.color(QPalette::WindowText));
    m_credits->setPalette(palette);
    m_credits->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_credits->setFixedHeight(MaximumCreditsHeight);
    m_credits->hide();

    // What the title bar's accessory shows elsewhere stands at the panel's
    // top right here: a window manager's title bar takes no controls.
    m_eula->setAccessibleName(QXLocalized::tr("EULA"));
    m_eula->setAccessibleDescription(QXLocalized::tr("Shows the licence agreement"));
    m_eula->setAutoDefault(false);
    m_eula->setFocusPolicy(Qt::TabFocus);
    QFont small = m_eula->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_eula->setFont(small);
    connect(m_eula, &QPushButton::clicked, this, &QXAboutPanel::eulaRequested);

    auto* top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(m_eula);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addWidget(m_icon);
    layout->addWidget(m_name);
    layout->addWidget(m_version);
    layout->addSpacing(6);
    layout->addWidget(m_credits);
    layout->addWidget(m_copyright);
    for (QWidget* widget : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_version),
                            static_cast<QWidget*>(m_credits), static_cast<QWidget*>(m_copyright)}) {
        widget->setFixedWidth(PanelWidth);
    }
}

QXAboutPanel::~QXAboutPanel() = default;

void QXAboutPanel::setApplicationIcon(const QIcon& icon)
{
    m_icon->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(IconSize, IconSize));
    m_icon->setVisible(!icon.isNull());
}

void QXAboutPanel::setApplicationName(const QString& name)
{
    // A label's accessible name is what a screen reader says: its text.
    m_name->setText(name);
    m_name->setAccessibleName(name);
    setWindowTitle(QXLocalized::tr("About %1").arg(name));
}

void QXAboutPanel::setVersion(const QString& version)
{
    m_version->setText(version);
    m_version->setAccessibleName(version);
    m_version->setVisible(!version.isEmpty());
}

void QXAboutPanel::setCopyright(const QString& copyright)
{
    m_copyright->setText(copyright);
    m_copyright->setAccessibleName(copyright);
    m_copyright->setVisible(!copyright.isEmpty());
}

void QXAboutPanel::setCredits(std::unique_ptr<QTextDocument> credits)
{
    // The view deletes the document it replaces when that is its child, as
    // every credits document is.
    if (credits == nullptr) {
        m_credits->hide();
        m_credits->setDocument(new QTextDocument(m_credits));
    } else {
        credits->setParent(m_credits);
        m_credits->setDocument(credits.release());
        m_credits->show();
    }
    m_credits->verticalScrollBar()->setValue(0);
    tidyCredits();
}

void QXAboutPanel::tidyCredits()
{
    if (m_credits->isHidden()) {
        return;
    }
    // Measure a copy at the width the text has without a frame or scroll
    // bar; the view keeps laying out its own document at its own width.
    const std::unique_ptr<QTextDocument> probe(m_credits->document()->clone());
    probe->setTextWidth(PanelWidth);
    const double textHeight = probe->documentLayout()->documentSize().height();
    const bool fits = textHeight <= MaximumCreditsHeight + 0.1;
    if (fits) {
        m_credits->setFrameShape(QFrame::NoFrame);
        m_credits->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_credits->setFixedHeight(static_cast<int>(std::ceil(textHeight)));
    } else {
        m_credits->setFrameShape(QFrame::StyledPanel);
        m_credits->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_credits->setFixedHeight(MaximumCreditsHeight);
    }
}

bool QXAboutPanel::creditsScroll() const
{
    return m_credits->frameShape() != QFrame::NoFrame;
}

void QXAboutPanel::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    tidyCredits();
}
