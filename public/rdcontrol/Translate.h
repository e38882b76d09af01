#pragma once

class TComponent;
class TLanguage;

// Applies a language text to a window and the components it owns, in creation order. The
// section is the translator's prefix, "_" and the window's name; each component's keys are its
// name, a point and a property ("btnClose.Hint", "Cbx_Language.Items[0].Caption"). The text a
// component shows now is the default of every key, so keys the section lacks change nothing and
// translating twice gives what translating once gave. A window without a name is left alone.
// Texts are written through the property resolver, so each class's own setter runs. An
// exception from a setter ends the translation of that window quietly; what changed stays.
void TranslateComponent(const TLanguage& language, TComponent* window);
