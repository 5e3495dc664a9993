#include "robot_proxy/version.h"

#include "robot_proxy/export.h"

namespace temla::korvu_sdk
{

ROBOT_PROXY_EXPORT const char *robotProxyVersion()
{
    return ROBOT_PROXY_VERSION;
}

}  // namespace temla::korvu_sdk
