#pragma once

#include <QAccessibleWidget>

namespace lumeno::qt {

class PictureBoxControl;

// A picture box as assistive technology sees it: an image, named by the window
// definition, described by what it shows.
class PictureBoxAccessible : public QAccessibleWidget, public QAccessibleImageInterface {
public:
    explicit PictureBoxAccessible(PictureBoxControl* box);

    QString text(QAccessible::Text kind) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QString imageDescription() const override;
    QSize imageSize() const override;
    QPoint imagePosition() const override;

private:
    PictureBoxControl* box() const;
};

} // namespace lumeno::qt
