// For tests: a user's typing as key events, for any characters (the test
// library's own typing knows ASCII keys only).
//   typeOver(box, u"/home/u/pics");   // delivered now
//   postTypingOver(box, u"/b");      // delivered by the next event pump

#ifndef VELKARO_APP_TYPING_TESTING_H_
#define VELKARO_APP_TYPING_TESTING_H_

#include <QCoreApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

namespace velkaro {

// The key presses that type text over the whole text of a box: select all,
// then one press per character.
inline std::vector<std::unique_ptr<QKeyEvent>> typingOver(const QString& text) {
  std::vector<std::unique_ptr<QKeyEvent>> keys;
  keys.push_back(std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_A,
                                             Qt::ControlModifier));
  for (const QChar c : text) {
    keys.push_back(std::make_unique<QKeyEvent>(
        QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c)));
  }
  return keys;
}

inline void typeOver(QWidget* box, const QString& text) {
  for (const std::unique_ptr<QKeyEvent>& key : typingOver(text)) {
    QCoreApplication::sendEvent(box, key.get());
  }
}

inline void postTypingOver(QWidget* box, const QString& text) {
  for (std::unique_ptr<QKeyEvent>& key : typingOver(text)) {
    QCoreApplication::postEvent(box, key.release());
  }
}

}  // namespace velkaro

#endif  // VELKARO_APP_TYPING_TESTING_H_
