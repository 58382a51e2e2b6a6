#include "dialogues/scratchreader.h"

ScratchReader::ScratchReader(DeviceLink &link, DialogueView &ownerView)
    : m_view(ownerView), m_dialogues(link, m_table, m_view)
{
}
