// The one table of the names ReadMes give the items, with their synonyms.

#include "import/heading_parts.h"
#include "model/name_fold.h"

#include <unordered_map>

namespace kelvaro::by_headings {
namespace {

// ---- the one table of names -------------------------------------------------

// A name a ReadMe may give an item, and the items it stands for: the
// single-line item when the value stands on the heading's line, the long text
// when lines stand under it (either may be missing).
struct NameRow {
    std::string_view Name;
    std::string_view SingleKey;
    std::string_view LongKey;
};

constexpr NameRow kNames[] = {
    {"作者名", "作者名", ""},
    {"作者", "作者名", ""},
    {"製作者", "作者名", ""},
    {"制作者", "作者名", ""},
    {"著作者", "作者名", ""},
    {"開発者", "作者名", ""},
    {"著作権者", "作者名", ""},
    {"作者連絡先", "メール", ""},
    {"作成者", "作者名", ""},
    {"Author", "作者名", ""},
    {"ソフト名", "ソフト名", ""},
    {"ソフトウェア名", "ソフト名", ""},
    {"ソフトウエア名", "ソフト名", ""},
    {"ソフト", "ソフト名", ""},
    {"ソフトウェア", "ソフト名", ""},
    {"名称", "ソフト名", ""},
    {"ツール名", "ソフト名", ""},
    {"アプリ名", "ソフト名", ""},
    {"アプリケーション名", "ソフト名", ""},
    {"プログラム名", "ソフト名", ""},
    {"Software", "ソフト名", ""},
    {"Name", "ソフト名", ""},
    {"バージョン", "バージョン", ""},
    {"Version", "バージョン", ""},
    {"Ver", "バージョン", ""},
    {"Ver.", "バージョン", ""},
    {"版", "バージョン", ""},
    {"作成日", "作成日", ""},
    {"公開日", "作成日", ""},
    {"更新日", "作成日", ""},
    {"最終更新日", "作成日", ""},
    {"リリース日", "作成日", ""},
    {"作成日時", "作成日", ""},
    {"公開日時", "作成日", ""},
    {"日付", "作成日", ""},
    {"Date", "作成日", ""},
    {"アーカイブ名", "アーカイブ名", ""},
    {"アーカイブ", "アーカイブ名", ""},
    {"配布アーカイブ", "アーカイブ名", ""},
    {"ファイル名", "アーカイブ名", ""},
    {"書庫名", "アーカイブ名", ""},
    {"ファイル", "アーカイブ名", ""},
    {"配布ファイル", "アーカイブ名", ""},
    {"Archive", "アーカイブ名", ""},
    {"アーカイブサイズ", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"ファイルサイズ", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"サイズ", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"容量", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"Size", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"種別", "種別", ""},
    {"ソフト種別", "種別", ""},
    {"種類", "種別", ""},
    {"区分", "種別", ""},
    {"形態", "種別", ""},
    {"ライセンス形態", "種別", ""},
    {"ソフトの種類", "種別", ""},
    {"シェアウェア代金", "ｼｪｱｳｪｱ代金", ""},
    {"代金", "ｼｪｱｳｪｱ代金", ""},
    {"料金", "ｼｪｱｳｪｱ代金", ""},
    {"価格", "ｼｪｱｳｪｱ代金", ""},
    {"送金額", "ｼｪｱｳｪｱ代金", ""},
    {"Price", "ｼｪｱｳｪｱ代金", ""},
    {"開発言語", "開発言語", ""},
    {"使用言語", "開発言語", ""},
    {"言語", "開発言語", ""},
    {"Language", "開発言語", ""},
    {"必要ランタイム", "必要ﾗﾝﾀｲﾑ", ""},
    {"必要なランタイム", "必要ﾗﾝﾀｲﾑ", ""},
    {"ランタイム", "必要ﾗﾝﾀｲﾑ", ""},
    {"必要なもの", "必要ﾗﾝﾀｲﾑ", ""},
    {"必要なソフト", "必要ﾗﾝﾀｲﾑ", ""},
    {"Runtime", "必要ﾗﾝﾀｲﾑ", ""},
    {"DirectX", "DirectX", ""},
    {"動作OS", "動作OS", ""},
    {"対応OS", "動作OS", ""},
    {"OS", "動作OS", ""},
    {"対応機種", "動作OS", ""},
    {"動作機種", "動作OS", ""},
    {"Platform", "動作OS", ""},
    {"再配布", "再配布", "再配布・転載"},
    {"二次配布", "再配布", "再配布・転載"},
    {"転載", "転載", "再配布・転載"},
    {"雑誌掲載", "転載", "再配布・転載"},
    {"ホームページ", "ホームページ", ""},
    {"URL", "ホームページ", ""},
    {"Webサイト", "ホームページ", ""},
    {"ウェブサイト", "ホームページ", ""},
    {"サイト", "ホームページ", ""},
    {"Web", "ホームページ", ""},
    {"Homepage", "ホームページ", ""},
    {"HP", "ホームページ", ""},
    {"配布先", "ホームページ", ""},
    {"配布元", "ホームページ", ""},
    {"配布場所", "ホームページ", ""},
    {"公開場所", "ホームページ", ""},
    {"ダウンロード", "ホームページ", ""},
    {"メール", "メール", ""},
    {"メールアドレス", "メール", ""},
    {"E-mail", "メール", ""},
    {"Email", "メール", ""},
    {"Mail", "メール", ""},
    {"連絡先", "メール", ""},
    {"問い合わせ先", "メール", ""},
    {"お問い合わせ", "メール", ""},
    {"アーカイブ内容", "", "アーカイブ内容"},
    {"ファイル構成", "", "アーカイブ内容"},
    {"同梱ファイル", "", "アーカイブ内容"},
    {"収録ファイル", "", "アーカイブ内容"},
    {"ファイル一覧", "", "アーカイブ内容"},
    {"添付ファイル", "", "アーカイブ内容"},
    {"内容物", "", "アーカイブ内容"},
    {"構成", "", "アーカイブ内容"},
    {"送金方法", "", "送金方法"},
    {"支払方法", "", "送金方法"},
    {"支払い方法", "", "送金方法"},
    {"レジスト方法", "", "送金方法"},
    {"特徴", "", "特徴"},
    {"概要", "", "特徴"},
    {"機能", "", "特徴"},
    {"主な機能", "", "特徴"},
    {"説明", "", "特徴"},
    {"紹介", "", "特徴"},
    {"ソフトの説明", "", "特徴"},
    {"ソフト紹介", "", "特徴"},
    {"はじめに", "", "特徴"},
    {"About", "", "特徴"},
    {"Description", "", "特徴"},
    {"Overview", "", "特徴"},
    {"Summary", "", "特徴"},
    {"Features", "", "特徴"},
    {"開発環境", "", "開発環境"},
    {"開発ツール", "", "開発環境"},
    {"作成環境", "", "開発環境"},
    {"動作環境", "動作OS", "動作環境(スペック)"},
    {"動作環境(スペック)", "", "動作環境(スペック)"},
    {"必要環境", "", "動作環境(スペック)"},
    {"推奨環境", "", "動作環境(スペック)"},
    {"必要スペック", "", "動作環境(スペック)"},
    {"スペック", "", "動作環境(スペック)"},
    {"システム要件", "", "動作環境(スペック)"},
    {"Requirements", "", "動作環境(スペック)"},
    {"インストール方法", "", "インストール方法"},
    {"インストール", "", "インストール方法"},
    {"導入方法", "", "インストール方法"},
    {"導入", "", "インストール方法"},
    {"セットアップ", "", "インストール方法"},
    {"Install", "", "インストール方法"},
    {"Installation", "", "インストール方法"},
    {"アンインストール方法", "", "アンインストール方法"},
    {"アンインストール", "", "アンインストール方法"},
    {"削除方法", "", "アンインストール方法"},
    {"Uninstall", "", "アンインストール方法"},
    {"使用方法", "", "使用方法"},
    {"使い方", "", "使用方法"},
    {"操作方法", "", "使用方法"},
    {"利用方法", "", "使用方法"},
    {"操作説明", "", "使用方法"},
    {"Usage", "", "使用方法"},
    {"HowToUse", "", "使用方法"},
    {"著作権", "", "著作権"},
    {"ライセンス", "", "著作権"},
    {"Copyright", "", "著作権"},
    {"License", "", "著作権"},
    {"再配布・転載", "", "再配布・転載"},
    {"転載・再配布", "", "再配布・転載"},
    {"配布", "", "再配布・転載"},
    {"免責", "", "免責"},
    {"免責事項", "", "免責"},
    {"無保証", "", "免責"},
    {"Disclaimer", "", "免責"},
    {"謝辞", "", "謝辞"},
    {"謝意", "", "謝辞"},
    {"感謝", "", "謝辞"},
    {"スペシャルサンクス", "", "謝辞"},
    {"SpecialThanks", "", "謝辞"},
    {"Thanks", "", "謝辞"},
    {"Acknowledgements", "", "謝辞"},
    {"開発履歴", "", "開発履歴"},
    {"更新履歴", "", "開発履歴"},
    {"履歴", "", "開発履歴"},
    {"変更履歴", "", "開発履歴"},
    {"改版履歴", "", "開発履歴"},
    {"バージョンアップ履歴", "", "開発履歴"},
    {"リリースノート", "", "開発履歴"},
    {"ReleaseNotes", "", "開発履歴"},
    {"バージョン履歴", "", "開発履歴"},
    {"更新内容", "", "開発履歴"},
    {"変更点", "", "開発履歴"},
    {"ChangeLog", "", "開発履歴"},
    {"History", "", "開発履歴"},
    {"Changes", "", "開発履歴"},
    // Headings over a list of facts: no item of their own.
    {"ソフト情報", "", ""},
    {"ソフトウェア情報", "", ""},
    {"基本情報", "", ""},
    {"製品情報", "", ""},
};

} // namespace

// What a name stands for, after folding; also with "について", "の方法" and the
// like left off ("インストールについて").
std::optional<Meaning> MeaningOf(std::string_view name) {
    static const auto table = [] {
        std::unordered_map<std::string, Meaning> map;
        for (const NameRow& row : kNames) {
            Meaning m;
            m.Single = row.SingleKey.empty() ? nullptr : LookupItem(row.SingleKey);
            m.Long = row.LongKey.empty() ? nullptr : LookupItem(row.LongKey);
            map.emplace(FoldName(row.Name), m);
        }
        return map;
    }();
    std::string folded = FoldName(name);
    for (int round = 0; round < 2; ++round) {
        const auto found = table.find(folded);
        if (found != table.end()) {
            if (found->second.Single == nullptr && found->second.Long == nullptr) {
                return std::nullopt;
            }
            return found->second;
        }
        bool stripped = false;
        for (std::string_view suffix : {"について", "に関して", "の方法", "事項", "情報"}) {
            if (folded.size() > suffix.size() && folded.ends_with(suffix)) {
                folded.resize(folded.size() - suffix.size());
                stripped = true;
                break;
            }
        }
        if (!stripped) {
            break;
        }
    }
    // "著作権・免責", "注意・免責", "Overview / 概要": the first part that means something.
    for (std::string_view joiner : {"・", "/", "／", "&", "、", "and"}) {
        // A joiner twice in a row is a leader ("作者・・・山田花子"), which joins no names.
        if (folded.find(std::string(joiner) + std::string(joiner)) != std::string::npos) {
            continue;
        }
        std::string_view rest = folded;
        for (std::size_t at = rest.find(joiner); at != std::string_view::npos && !rest.empty();
             at = rest.find(joiner)) {
            if (at > 0) {
                if (const auto found = table.find(std::string(rest.substr(0, at)));
                    found != table.end()) {
                    return found->second;
                }
            }
            rest.remove_prefix(at + joiner.size());
            if (const auto found = table.find(std::string(rest));
                found != table.end() && rest.find(joiner) == std::string_view::npos) {
                return found->second;
            }
        }
    }
    return std::nullopt;
}

} // namespace kelvaro::by_headings
