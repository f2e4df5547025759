#pragma once

class FrmReport;

// Opens a new report view on PrintFileName, modeless. Refuses with a message
// when six views are open already. Returns the view, or nullptr when it was
// refused or its file could not be read (the caller need not keep it).
FrmReport *OpenReportView();
