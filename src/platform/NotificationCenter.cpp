#include "platform/NotificationCenter.h"

namespace kivo {

NotificationCenter& NotificationCenter::defaultCenter()
{
  static NotificationCenter center;
  return center;
}

}  // namespace kivo
