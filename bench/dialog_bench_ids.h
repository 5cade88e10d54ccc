// The dialog templates of dialog_bench.rc.
#pragma once

#define kWizardTemplate 101
#define kLargestPageTemplate 102
