#pragma once

#include "help/QXHelpPageRecord.h"

#include <QToolButton>
#include <optional>

// The previous or next page button of the page header. It shows only while
// it has a page, whose title is its tool tip.
class QXHelpManagerPageButton : public QToolButton
{
    Q_OBJECT

public:
    static constexpr int Size = 29;

    QXHelpManagerPageButton(bool pointingLeft, QWidget* parent = nullptr);

    const std::optional<QXHelpPageRecord>& targetPageRepresentation() const { return m_target; }
    void setTargetPageRepresentation(const std::optional<QXHelpPageRecord>& record);

Q_SIGNALS:
    // Clicked while it has a page: the page's relative path.
    void openPage(const QString& relativePath);

private:
    bool m_pointingLeft;
    std::optional<QXHelpPageRecord> m_target;
};
