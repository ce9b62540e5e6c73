#pragma once
class CDibDoc;
class QWidget;

/// Shows the "Altitude Map Properties" sheet for the project (Select Altitude Data Source).
void showAltitudeSources(QWidget* parent, CDibDoc& doc);
