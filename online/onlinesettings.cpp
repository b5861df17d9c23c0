#include "onlinesettings.h"

#include "apisettings.h"

namespace wordlumen {

OnlineSettings OnlineSettings::stored()
{
    return {ApiSettings::endpointText(), ApiSettings::model()};
}

} // namespace wordlumen
