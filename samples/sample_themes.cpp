#include "samples/sample_themes.h"

namespace zorvsamples {

const std::array<const char16_t*, kSampleLanguageCount> kSampleLocales = {u"en_US", u"de_DE", u"fr_FR", u"es_ES",
                                                                          u"ja_JP"};

const std::vector<SampleTheme>& SampleThemes() {
  static const std::vector<SampleTheme> themes = {
      {{"Bold Title", "Fetter Titel", "Titre gras", "Título en negrita", "太字タイトル"},
       "Titles", {"title", "bold", "typography"}, {24, 24, 32}, {250, 200, 40}, false},
      {{"Lower Third", "Bauchbinde", "Tiers inférieur", "Tercio inferior", "ローワーサード"},
       "Lower Thirds", {"lower third", "name", "news"}, {20, 60, 120}, {240, 240, 240}, false},
      {{"Neon Glow", "Neonleuchten", "Lueur néon", "Brillo de neón", "ネオングロー"},
       "Titles", {"neon", "glow", "retro"}, {16, 0, 40}, {255, 40, 200}, false},
      {{"Glitch Intro", "Glitch-Intro", "Intro glitch", "Intro con glitch", "グリッチイントロ"},
       "Intros", {"glitch", "intro", "digital"}, {0, 0, 0}, {0, 255, 180}, false},
      {{"Minimal Credits", "Schlichter Abspann", "Générique minimal", "Créditos minimalistas", "ミニマルクレジット"},
       "Credits", {"credits", "minimal", "roll"}, {245, 245, 240}, {30, 30, 30}, false},
      {{"Social Caption", "Social-Media-Untertitel", "Légende sociale", "Subtítulo social", "ソーシャルキャプション"},
       "Social/Vertical", {"social", "caption", "vertical"}, {255, 120, 80}, {255, 255, 255}, true},
      {{"Sports Scoreboard", "Sport-Anzeigetafel", "Tableau des scores", "Marcador deportivo", "スポーツスコアボード"},
       "Sports", {"sports", "score", "broadcast"}, {10, 90, 30}, {255, 255, 255}, false},
      {{"Wedding Titles", "Hochzeitstitel", "Titres de mariage", "Títulos de boda", "ウェディングタイトル"},
       "Titles/Elegant", {"wedding", "elegant", "script"}, {250, 235, 230}, {180, 140, 90}, false},
      {{"Corporate Slide", "Firmenfolie", "Diapositive d'entreprise", "Diapositiva corporativa", "コーポレートスライド"},
       "Business", {"corporate", "business", "clean"}, {235, 240, 245}, {0, 90, 160}, false},
      {{"Map Pin", "Kartenmarkierung", "Repère de carte", "Marcador de mapa", "マップピン"},
       "Infographics", {"map", "location", "travel"}, {200, 220, 190}, {220, 40, 40}, false},
      {{"Countdown Timer", "Countdown", "Compte à rebours", "Cuenta regresiva", "カウントダウン"},
       "Intros", {"countdown", "timer", "numbers"}, {30, 30, 60}, {255, 160, 0}, false},
      {{"Subscribe Button", "Abonnieren-Schaltfläche", "Bouton d'abonnement", "Botón de suscripción", "登録ボタン"},
       "Social", {"subscribe", "button", "call to action"}, {255, 255, 255}, {220, 0, 0}, true},
  };
  return themes;
}

const std::vector<std::string>& SampleFonts() {
  static const std::vector<std::string> fonts = {"SourceSansPro-Regular", "Montserrat-Bold", "Roboto-Light",
                                                 "PlayfairDisplay-Italic", "Oswald-SemiBold", "Lato-Black",
                                                 "Merriweather-Regular"};
  return fonts;
}

const std::vector<std::string>& SampleEffects() {
  static const std::vector<std::string> effects = {"effect.gaussianblur", "effect.glow", "effect.dropshadow",
                                                   "effect.linearwipe", "effect.transform", "effect.fill"};
  return effects;
}

const std::vector<std::string>& SampleRenderers() {
  static const std::vector<std::string> renderers = {"renderer.classic3d", "renderer.raytraced3d"};
  return renderers;
}

const std::vector<std::string>& SampleFileTypes() {
  static const std::vector<std::string> types = {"png", "mov", "wav", "jpg", "mp3"};
  return types;
}

const std::vector<std::string>& SampleExtraTags() {
  static const std::vector<std::string> tags = {"animated", "colorful", "dark", "light", "fast",
                                                "smooth", "modern", "simple", "cinematic", "playful"};
  return tags;
}

}  // namespace zorvsamples
