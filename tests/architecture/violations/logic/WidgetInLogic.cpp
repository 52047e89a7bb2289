// A logic source that reaches for a widget: the layer check must refuse it.
#include <QtWidgets/QMessageBox>
