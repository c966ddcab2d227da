#pragma once
// Answers the modal dialogs a test provokes.
