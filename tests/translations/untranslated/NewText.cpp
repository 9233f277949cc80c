// A text that is new to the code and in no translation file yet.
#include <QCoreApplication>

QString newText()
{
    return QCoreApplication::translate("NewDialog", "Print this job in colour?");
}
