// Drawing that pulls in Qt: the core must not.
#include <QImage>
