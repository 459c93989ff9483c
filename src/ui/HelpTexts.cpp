#include "ui/HelpTexts.h"

namespace brekka {

QStringList IntroText() {
    return {};
}
QStringList TypesText() {
    return {};
}
QStringList TestsText() {
    return {};
}
QStringList SequenceText() {
    return {};
}
QStringList MethodsText() {
    return {};
}
QStringList MoreInfoText() {
    return {};
}
QStringList ConfidenceFigureText() {
    return {};
}
QStringList SymbolsHelpText() {
    return {};
}
QStringList PasteHelpText() {
    return {};
}
QStringList OutputSymbolsText() {
    return {};
}
QStringList ConfidenceHelpText() {
    return {};
}
QStringList FinishText() {
    return {};
}

} // namespace brekka
