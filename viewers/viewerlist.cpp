#include "viewerlist.h"

#include "agesviewer.h"
#include "coolinghistoryviewer.h"
#include "geothermviewer.h"
#include "isothermdepthviewer.h"
#include "periodichistoryviewer.h"
#include "periodicisothermviewer.h"

const std::vector<const ViewerDefinition*>& allViewers()
{
    static const std::vector<const ViewerDefinition*> viewers {
        &geothermViewer(),
        &isothermDepthViewer(),
        &coolingHistoryViewer(),
        &periodicIsothermViewer(),
        &periodicHistoryViewer(),
        &agesViewer(),
    };
    return viewers;
}

const ViewerDefinition* findViewer(const QString& program)
{
    for (const ViewerDefinition* viewer : allViewers())
        if (viewer->program == program)
            return viewer;
    return nullptr;
}
