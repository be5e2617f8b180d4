#include "platform/group_body.h"

#include <QGroupBox>

namespace corvel {

GroupBody::GroupBody(QGroupBox* group) : QWidget(group) { setGeometry(group->rect()); }

}  // namespace corvel
