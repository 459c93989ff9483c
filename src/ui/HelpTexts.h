#pragma once
// The fixed texts of the explanatory memos and auxiliary windows, one line per
// element.
#include <QStringList>

namespace brekka {

QStringList IntroText();            // IntroMemo of the intro tab
QStringList TypesText();            // TypesMemo: the function types
QStringList TestsText();            // TestsMemo: the significance tests
QStringList SequenceText();         // SequenceMemo: the two-variable sequences
QStringList MethodsText();          // MethodsMemo: the calculation methods of types 2-4
QStringList MoreInfoText();         // MoreInfoMemo of the "More Info" window
QStringList ConfidenceFigureText(); // Conf_Memo of the figures tab
QStringList SymbolsHelpText();      // HelpMemo of the input tab ("Symbols help")
QStringList PasteHelpText();        // PasteMemo of the input tab ("Paste help")
QStringList OutputSymbolsText();    // SymbolsMemo of the "Brekka output symbols" window
QStringList ConfidenceHelpText();   // HelpMemo of "Help St.Err.BP and confidence analysis"
QStringList FinishText();           // FinishMemo of the finish window

} // namespace brekka
