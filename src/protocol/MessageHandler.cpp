#include "protocol/MessageHandler.h"

#include "core/AppContext.h"
#include "core/ObserverFactoryInterface.h"

namespace Brindlecore::Core {

MessageHandler::MessageHandler(UtilsLib::Observer *observer)
{
    if (!observer) {
        auto *factory = AppContext::instance().findEntryAs<ObserverFactoryInterface>(
            ObserverFactoryInterface::EntryName);
        if (factory)
            observer = factory->getObserver();
    }
    addObserver(observer);
}

} // namespace Brindlecore::Core
