// The program's notification centre: a window posts a named notification with
// itself as the object, synchronously, and every observer receives it whatever its
// sender; each observer decides whether it is meant (the entry grids' key-down
// notifications reach every voucher and cash-book controller, and each acts only
// while its own window is main).
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

class QKeyEvent;

namespace kivo {

class NotificationCenter : public QObject {
  Q_OBJECT
public:
  struct Notification {
    QString name;
    QObject* object = nullptr;
    // The key event of a key-down notification (its user info "event"), else nullptr.
    QKeyEvent* event = nullptr;
    QVariantMap userInfo;
  };

  static NotificationCenter& defaultCenter();

  // Delivers the notification to every observer before it returns.
  void postNotification(const Notification& notification) { emit notificationPosted(notification); }

signals:
  void notificationPosted(const kivo::NotificationCenter::Notification& notification);
};

}  // namespace kivo
