#include "protocol/MessageHandler.h"

#include "app/AppContext.h"
#include "app/ObserverFactoryInterface.h"

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
