#pragma once

#include "korvu_sdk/api.h"
#include "korvu_sdk/client_common.h"
#include "korvu_sdk/input_parser.h"
#include "korvu_sdk/korvu_exception.h"
#include "korvu_sdk/protocol.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sdk/rtde_client.h"
#include "korvu_sdk/script_client.h"
#include "korvu_sdk/types.h"
