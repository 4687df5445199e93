#pragma once

#include <QIcon>

// The document viewer's toolbar icons (32x32): print, print preview, exit.
namespace ViewerIcons {

QIcon print();
QIcon printPreview();
QIcon exit();

}  // namespace ViewerIcons
