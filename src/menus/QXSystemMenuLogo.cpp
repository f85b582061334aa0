#include "menus/QXSystemMenuLogo.h"

#include "menus/QXSharedMenuFontSize.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QtMath>

namespace QXSystemMenuLogo {

namespace {

struct Cache
{
    bool masterLoaded = false;
    QIcon master;
    bool masterIsTemplate = false;
    bool hasLogo = false;
    int fontSize = 0;
    qreal devicePixelRatio = 0;
    Logo logo;
};

Cache& cache()
{
    static Cache instance;
    return instance;
}

const QString SymbolicLogoName = QStringLiteral("start-here-symbolic");
const QString LogoName = QStringLiteral("start-here");

// The logo's files in one icon theme folder, every size of them (the
// folder's "<size>/places" sub-folders).
QIcon logoInThemeFolder(const QString& folder, const QString& name)
{
    QIcon icon;
    const QStringList sizes = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& size : sizes) {
        for (const char* suffix : {".svg", ".png", ".symbolic.png"}) {
            const QString path =
                folder + u'/' + size + QStringLiteral("/places/") + name + QLatin1String(suffix);
            if (QFileInfo::exists(path)) {
                icon.addFile(path);
            }
        }
    }
    return icon;
}

// The desktop's icon theme first; a session without a configured theme (a
// bare window manager) still has the common themes' folders.
void loadMaster(Cache& state)
{
    state.masterLoaded = true;
    for (const QString& name : {SymbolicLogoName, LogoName}) {
        state.master = QIcon::fromTheme(name);
        if (!state.master.isNull()) {
            state.masterIsTemplate = name == SymbolicLogoName;
            return;
        }
    }
    for (const QString& name : {SymbolicLogoName, LogoName}) {
        for (const QString& base : QIcon::themeSearchPaths()) {
            for (const char* theme : {"Adwaita", "hicolor"}) {
                state.master = logoInThemeFolder(base + u'/' + QLatin1String(theme), name);
                if (!state.master.isNull()) {
                    state.masterIsTemplate = name == SymbolicLogoName;
                    return;
                }
            }
        }
    }
}

} // namespace

QSize logoSize(int fontSize)
{
    if (fontSize < 14) {
        return QSize(13, 16);
    }
    const qreal scale = fontSize / 13.0;
    return QSize(qRound(13 * scale), qRound(16 * scale));
}

Logo logo()
{
    Cache& state = cache();
    if (!state.masterLoaded) {
        loadMaster(state);
    }
    if (state.master.isNull()) {
        return {};
    }
    const int fontSize = QXSharedMenuFontSize::value();
    const qreal ratio = qGuiApp != nullptr ? qMax<qreal>(qGuiApp->devicePixelRatio(), 1.0) : 1.0;
    if (state.hasLogo && state.fontSize == fontSize && state.devicePixelRatio == ratio) {
        return state.logo;
    }

    // The logo is square; it sits centred in the taller box, as a glyph sits
    // in its line.
    const QSize size = logoSize(fontSize);
    QImage image(qCeil(size.width() * ratio), qCeil(size.height() * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    const int side = qMin(size.width(), size.height());
    const QPixmap pixmap = state.master.pixmap(QSize(side, side), ratio);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF target((size.width() - side) / 2.0, (size.height() - side) / 2.0, side, side);
        painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
    }

    state.logo = {image, state.masterIsTemplate};
    state.fontSize = fontSize;
    state.devicePixelRatio = ratio;
    state.hasLogo = true;
    return state.logo;
}

} // namespace QXSystemMenuLogo
